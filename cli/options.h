// The command line: options and the NAMEs to evaluate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnwick::cli {

struct Options {
  bool sample = false;
  bool from_dump = false;
  std::string dump_file;
  bool dump_bin = false;
  std::string dump_bin_file;
  bool list = false;
  std::vector<uint8_t> list_types;  // --list 17 4, --decode 17 4: the types; none: every structure
  bool decode = false;
  bool json = false;
  bool cmd = false;
  bool real = false;
  bool check = false;
  bool prometheus = false;
  bool banner = false;
  bool usage = false;
  bool version = false;
  bool names_list = false;
  std::string sysfs = platform::kSysfs;  // where the machine's table and its DMI files are; other folders for tests
  std::vector<std::string> batch_files;  // "-": standard input
  std::vector<std::string> help_names;
  std::vector<std::string> names;
};

// False, with the reason, for an unknown option, a missing value, or
// options that exclude each other. With --list or --decode, the NAMEs that
// are numbers are the structure types to list or decode.
bool ParseOptions(const std::vector<std::string>& arguments, Options* options, std::string* error);

// What --help prints.
std::string UsageText();

}  // namespace tarnwick::cli
