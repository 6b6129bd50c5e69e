// Every option of tarnwick, once. CLI11's options and --help (cli/options.cpp),
// the check of their values, and the bash completion, which the build writes
// from these rows (cmake/options.cmake reads each row's opening: names, what
// it takes, the word for its value), all come from here.
#pragma once

namespace tarnwick::cli {

enum class Takes {
  kNothing,     // a flag
  kValue,       // one value, given once: a second is refused by name
  kValueEach,   // one value per occurrence, gathered in order
  kTypesAfter,  // a flag whose TYPEs (numbers, or lists of them "17,4") follow among the NAMEs
};

struct OptionRow {
  const char* names;  // "--from-dump", or "-h,--help"
  Takes takes;
  const char* word;   // what --help calls its value (FILE, NAME, TYPE); null for a flag
  const char* help;   // null: not shown, not completed (a test's option)
};

// In the order --help lists them.
// clang-format off
inline constexpr OptionRow kOptionRows[] = {
  {"--from-dump", Takes::kValue, "FILE", "read the table from FILE (- for standard input): a dmidecode\n"
                                         "--dump-bin file, a firmware-service buffer or a bare structure table"},
  {"--dump-bin", Takes::kValue, "FILE", "write the loaded table as dmidecode --from-dump reads it,\ninto a new FILE only"},
  {"--file", Takes::kValueEach, "FILE", "evaluate one NAME per line of FILE (- for standard input);\n"
                                        "one FILE per --file, repeated for several"},
  {"--help-name", Takes::kValueEach, "NAME", "show the help text of NAME; needs no table"},
  // The folders that stand for /sys and for udev's database, so tests can lay out a machine.
  {"--sysfs", Takes::kValue, "FOLDER", nullptr},
  {"--udev-data", Takes::kValue, "FOLDER", nullptr},
  {"--sample", Takes::kNothing, nullptr, "use the built-in table of a fictional machine"},
  {"--list", Takes::kTypesAfter, "TYPE", "list the structures: position, type, length, handle, the type's name,\n"
                                         "strings; TYPEs after it (--list 17 4, or 17,4) list only those"},
  {"--decode", Takes::kTypesAfter, "TYPE", "print every field of every structure in words, as DSP0134 names\n"
                                           "them; TYPEs after it (--decode 17 4, or 17,4) decode only those"},
  {"--json", Takes::kNothing, nullptr, "print the values (or the report) as one JSON object"},
  {"--cmd", Takes::kNothing, nullptr, "print one line set \"NAME=value\" per NAME, for cmd.exe's for /f"},
  {"--real", Takes::kNothing, nullptr, "answer N/A for a variable whose value is a firmware placeholder\n"
                                       "(\"To Be Filled By O.E.M.\"), as @smbreal does"},
  {"--check", Takes::kNothing, nullptr, "check every structure against DSP0134, one finding per line\n"
                                        "(exit status 1 with a defect)"},
  {"--prometheus", Takes::kNothing, nullptr, "write the identity, memory modules, processors and --check's\n"
                                             "findings for the textfile collectors of Prometheus exporters"},
  {"--banner", Takes::kNothing, nullptr, "run as an interactive shell, so the load banner may show"},
  {"--names", Takes::kNothing, nullptr, "list every NAME with its arguments and its help's first sentence"},
  {"--version", Takes::kNothing, nullptr, "print the plug-in's name and version"},
  {"-h,--help", Takes::kNothing, nullptr, "print this help"},
};
// clang-format on

}  // namespace tarnwick::cli
