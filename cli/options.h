// The command line: what a run does, read from its options and NAMEs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tarnwick::cli {

enum class Mode {
  kUsage,       // --help
  kVersion,     // --version
  kHelp,        // --names, --help-name alone: the one list, no table
  kCheck,       // --check
  kPrometheus,  // --prometheus
  kDecode,      // --decode
  kQuery,       // NAMEs, --file, --list, --dump-bin, after any help
  kReport,      // nothing asked: every variable
};

// How answers are shown: lines, one JSON object, or cmd.exe's set lines.
enum class Format { kLines, kJson, kCmd };

enum class TableSource {
  kMachine,  // the machine's own, which loading reads
  kSample,   // the built-in table
  kDump,     // a file
};

// What to run, chosen once from the arguments.
struct Task {
  Mode mode = Mode::kReport;
  TableSource source = TableSource::kMachine;
  std::string dump_file;                 // kDump: FILE, "-" for standard input
  std::string sysfs = platform::kSysfs;  // where the machine's table and its DMI files are; other folders for tests
  // udev's database folder, for the memory devices without the table: the
  // system's with the system's sysfs, none with another unless given (tests).
  std::string udev_data;
  Format format = Format::kLines;        // of answers, --list and --check's findings
  bool real = false;                     // placeholders answer N/A
  bool banner = false;                   // as an interactive shell
  std::string dump_bin_file;             // --dump-bin FILE; empty: none
  bool list = false;
  bool decode = false;
  std::vector<uint8_t> types;            // --list 17 4, --decode 17 4: the types; none: every structure
  bool names_list = false;               // --names
  std::vector<std::string> help_names;
  std::vector<std::string> batch_files;  // "-": standard input
  std::vector<std::string> names;
};

// False, with the reason, for an unknown option, a missing value, a TYPE
// that is no number 0-255, or options that exclude each other.
bool ParseOptions(const std::vector<std::string>& arguments, Task* task, std::string* error);

// A TYPE argument: a number 0-255, decimal or hexadecimal after 0x as the
// functions read numbers, or a comma-separated list of them ("17,4"),
// appended to `types`. False, with the reason, for anything else, which
// appends none.
bool ReadTypes(std::string_view argument, std::vector<uint8_t>* types, std::string* error);

// What --help prints.
std::string UsageText();

}  // namespace tarnwick::cli
