// The command line: options and the NAMEs to evaluate.
#pragma once

#include <string>
#include <vector>

namespace tarnwick::cli {

struct Options {
  bool sample = false;
  bool from_dump = false;
  std::u16string dump_file;
  bool dump_bin = false;
  std::u16string dump_bin_file;
  bool list = false;
  bool json = false;
  bool banner = false;
  bool usage = false;
  bool version = false;
  std::vector<std::u16string> batch_files;  // "-": standard input
  std::vector<std::u16string> help_names;
  std::vector<std::u16string> names;
};

// False, with the reason, for an unknown option, a missing value, or
// options that exclude each other.
bool ParseOptions(const std::vector<std::u16string>& arguments, Options* options, std::u16string* error);

extern const char16_t kUsage[];

}  // namespace tarnwick::cli
