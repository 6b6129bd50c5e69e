#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/option_table.h"

namespace tarnwick::cli {
namespace {

// The row's last name, the long one: "--help" of "-h,--help".
std::string_view LongName(const OptionRow& row) {
  const std::string_view names = row.names;
  return names.substr(names.rfind(',') + 1);
}

// What CLI11 took, by row of the option table.
struct Given {
  std::vector<std::string> values[std::size(kOptionRows)];
  std::vector<std::string> names;
  CLI::App app{"tarnwick", "tarnwick"};

  size_t Row(std::string_view name) const {
    for (size_t i = 0; i < std::size(kOptionRows); ++i) {
      if (LongName(kOptionRows[i]) == name) return i;
    }
    throw std::logic_error("no option " + std::string(name));  // a name missing from the table
  }
  size_t Count(std::string_view name) const { return app.count(std::string(name)); }
  bool Has(std::string_view name) const { return Count(name) != 0; }
  const std::vector<std::string>& Values(std::string_view name) const { return values[Row(name)]; }
  std::string Value(std::string_view name) const { return Has(name) ? Values(name).back() : std::string(); }
};

// The options, their help and their values, from the option table.
void Describe(Given& given) {
  CLI::App& app = given.app;
  app.description(
      "Evaluates the plug-in's variables (_smbmfg) and functions (@smbword[4,0x16])\n"
      "against the machine's SMBIOS table; without NAME, reports every variable.");
  app.footer(
      "Exit status: 0 when every NAME answered; 1 when a NAME failed or is unknown;\n"
      "2 for a usage error, an unreadable or unwritable file, or a plug-in that did\n"
      "not load.");
  app.set_help_flag();  // -h prints through the host's output like every other text
  app.allow_windows_style_options(false);  // "/x" is a value or a NAME on Windows too
  app.option_defaults()->disable_flag_override();  // "--json=1" is an error, not a value
  for (size_t i = 0; i < std::size(kOptionRows); ++i) {
    const OptionRow& row = kOptionRows[i];
    const std::string help = row.help == nullptr ? "" : row.help;
    CLI::Option* option = nullptr;
    if (row.takes == Takes::kNothing || row.takes == Takes::kTypesAfter) {
      option = app.add_flag(row.names, help);
    } else {
      // One value per occurrence, as --help shows it; a value given twice is
      // refused after parsing, by name.
      option = app.add_option(row.names, given.values[i], help)->type_name(row.word)->allow_extra_args(false);
      option->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    if (row.help == nullptr) option->group("");
  }
  // A NAME is taken as it is: CLI11 would read "[a,b]" as a list of two
  // values, unless the option takes one value per argument. A positional
  // without extra arguments takes as many as its least count: as many as come.
  app.add_option("NAME", given.names, "a variable (_smbmfg) or a function call (@smbword[4,0x16])")
      ->option_text("...")
      ->expected(std::numeric_limits<int>::max(), -1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

// "--file=" with nothing after "=": CLI11 would take the next argument, an
// option perhaps, as the value. False, with the reason, for the first one
// before "--"; an empty argument after the option is found after parsing.
bool NoEmptyValue(const std::vector<std::string>& arguments, std::string* error) {
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    for (const OptionRow& row : kOptionRows) {
      if (row.word != nullptr && argument == std::string(LongName(row)) + "=") {
        return *error = std::string(LongName(row)) + ": an empty " + row.word, false;
      }
    }
  }
  return true;
}

// A value given twice (a table from two dumps?) for an option that takes
// one, or an empty argument as a value. False with the reason.
bool EachValueOnceAndNamed(const Given& given, std::string* error) {
  for (size_t i = 0; i < std::size(kOptionRows); ++i) {
    const OptionRow& row = kOptionRows[i];
    const std::string name(LongName(row));
    if (row.takes == Takes::kValue && given.values[i].size() > 1) return *error = name + " may be given once", false;
    if (std::find(given.values[i].begin(), given.values[i].end(), "") != given.values[i].end()) {
      return *error = name + ": an empty " + row.word, false;
    }
  }
  return true;
}

// With an option that takes TYPEs (--list), the arguments that name no
// variable or function (those open with "_" or "@") are its TYPEs. False,
// with the reason, for one that is no TYPE.
bool TakeTypes(const Given& given, Task* task, std::string* error) {
  const auto row = std::find_if(std::begin(kOptionRows), std::end(kOptionRows), [&](const OptionRow& r) {
    return r.takes == Takes::kTypesAfter && given.Has(LongName(r));
  });
  if (row == std::end(kOptionRows)) return true;
  std::vector<std::string> names;
  for (std::string& name : task->names) {
    if (name.starts_with('_') || name.starts_with('@')) {
      names.push_back(std::move(name));
    } else if (!ReadTypes(name, &task->types, error)) {
      return *error = std::string(LongName(*row)) + ": " + *error, false;
    }
  }
  task->names = std::move(names);
  return true;
}

Mode ChooseMode(const Given& given, const Task& task) {
  if (given.Has("--help")) return Mode::kUsage;
  if (given.Has("--version")) return Mode::kVersion;
  if (given.Has("--check")) return Mode::kCheck;
  if (given.Has("--prometheus")) return Mode::kPrometheus;
  if (task.decode) return Mode::kDecode;
  if (!task.names.empty() || !task.batch_files.empty() || task.list || !task.dump_bin_file.empty()) {
    return Mode::kQuery;
  }
  if (task.names_list || !task.help_names.empty()) return Mode::kHelp;
  return Mode::kReport;
}

// --json, --cmd and --real shape answers: to NAMEs, batch files, or the
// report, which runs when nothing else is asked; --json shapes --list's
// structures too. --names, --help-name and --dump-bin print no answers, nor
// does --list for --cmd and --real, which would change none of its bytes.
// False, with the reason, for an option that shapes nothing asked.
bool ShapesSomething(const Task& task, std::string* error) {
  const char* text_only = task.names_list              ? "--names"
                          : !task.help_names.empty()   ? "--help-name"
                          : !task.dump_bin_file.empty() ? "--dump-bin"
                          : task.list                  ? "--list"
                                                       : nullptr;
  if (text_only == nullptr || !task.names.empty() || !task.batch_files.empty()) return true;
  const char* shaper = task.format == Format::kCmd                    ? "--cmd"
                       : task.real                                    ? "--real"
                       : task.format == Format::kJson && !task.list ? "--json"
                                                                      : nullptr;
  if (shaper == nullptr) return true;
  *error = shaper + std::string(" applies to answers, and ") + text_only + " gives none: add a NAME, or leave " +
           shaper + " out";
  return false;
}

// Options that exclude each other. False with the reason.
bool Compatible(const Given& given, const Task& task, std::string* error) {
  const bool json = given.Has("--json"), cmd = given.Has("--cmd"), check = given.Has("--check");
  const bool dump_bin = given.Has("--dump-bin");
  const bool asks_names = !task.names.empty() || !task.batch_files.empty();
  // What --check and --prometheus, which read the table as a whole, have no use for.
  const bool asks_more = cmd || task.real || task.list || dump_bin || asks_names || !task.help_names.empty() ||
                         task.names_list;
  const std::pair<bool, const char*> exclusions[] = {
      {given.Has("--sample") && given.Has("--from-dump"), "--sample and --from-dump exclude each other"},
      {json && cmd, "--json and --cmd exclude each other"},
      {task.list && json && asks_names, "--list --json prints one array: ask for NAMEs in a run of their own"},
      {task.list && cmd, "--list and --cmd exclude each other"},
      {dump_bin && task.dump_bin_file == "-", "--dump-bin writes a new file, not standard output: name a FILE"},
      {check && asks_more, "--check takes no NAME and goes only with --json, --sample or --from-dump"},
      {given.Has("--prometheus") && (check || json || asks_more),
       "--prometheus takes no NAME and goes only with --sample or --from-dump"},
      {task.decode && (check || given.Has("--prometheus") || asks_more),
       "--decode takes TYPEs, not NAMEs, and goes only with --json, --sample or --from-dump"}};
  for (const auto& [both, message] : exclusions) {
    if (both) return *error = message, false;
  }
  return ShapesSomething(task, error);
}

}  // namespace

bool ReadTypes(std::string_view argument, std::vector<uint8_t>* types, std::string* error) {
  const std::string_view whole = argument;
  std::vector<uint8_t> read;
  while (true) {
    const size_t comma = argument.find(',');
    const std::string_view number = argument.substr(0, comma);
    const bool hexadecimal = number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X');
    const std::string_view digits = number.substr(hexadecimal ? 2 : 0);
    unsigned type = 0;
    const auto [end, failure] =
        std::from_chars(digits.data(), digits.data() + digits.size(), type, hexadecimal ? 16 : 10);
    // from_chars takes no sign but "-" and no "+": a leading "-" is refused here too.
    if (digits.empty() || digits[0] == '-' || failure != std::errc() || end != digits.data() + digits.size() ||
        type > 255) {
      *error = "no structure type " + std::string(whole) +
               ": a TYPE is a number 0-255 (17 or 0x11), or a list of them (17,4)";
      return false;
    }
    read.push_back(static_cast<uint8_t>(type));
    if (comma == std::string_view::npos) break;
    argument.remove_prefix(comma + 1);
  }
  types->insert(types->end(), read.begin(), read.end());
  return true;
}

bool ParseOptions(const std::vector<std::string>& arguments, Task* task, std::string* error) {
  Given given;
  Describe(given);
  if (!NoEmptyValue(arguments, error)) return false;
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());  // CLI11 takes them last first
  try {
    given.app.parse(reversed);
  } catch (const CLI::ParseError& failure) {
    *error = failure.what();
    return false;
  }
  if (!EachValueOnceAndNamed(given, error)) return false;
  task->source = given.Has("--sample") ? TableSource::kSample
                 : given.Has("--from-dump") ? TableSource::kDump
                                            : TableSource::kMachine;
  task->dump_file = given.Value("--from-dump");
  if (given.Has("--sysfs")) task->sysfs = given.Value("--sysfs");
  if (given.Has("--udev-data")) {
    task->udev_data = given.Value("--udev-data");
  } else if (task->sysfs == platform::kSysfs) {
    task->udev_data = "/run/udev/data";
  }
  task->format = given.Has("--json") ? Format::kJson : given.Has("--cmd") ? Format::kCmd : Format::kLines;
  task->real = given.Has("--real");
  task->banner = given.Has("--banner");
  task->dump_bin_file = given.Value("--dump-bin");
  task->list = given.Has("--list");
  task->decode = given.Has("--decode");
  task->names_list = given.Has("--names");
  task->help_names = given.Values("--help-name");
  task->batch_files = given.Values("--file");
  task->names = std::move(given.names);
  if (!TakeTypes(given, task, error) || !Compatible(given, *task, error)) return false;
  task->mode = ChooseMode(given, *task);
  return true;
}

std::string UsageText() {
  Given given;
  Describe(given);
  return given.app.help();
}

}  // namespace tarnwick::cli
