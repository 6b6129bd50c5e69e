#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick::cli {
namespace {

// The options, their help and how they exclude each other, bound to `options`.
void Describe(CLI::App& app, Options& options) {
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
  const std::vector<CLI::Option*> with_value = {
      app.add_option("--from-dump", options.dump_file,
                     "read the table from FILE (- for standard input): a dmidecode\n"
                     "--dump-bin file, a firmware-service buffer or a bare structure table")
          ->type_name("FILE"),
      app.add_option("--dump-bin", options.dump_bin_file,
                     "write the loaded table as dmidecode --from-dump reads it,\n"
                     "into a new FILE only")
          ->type_name("FILE"),
      app.add_option("--file", options.batch_files,
                     "evaluate one NAME per line of FILE (- for standard input);\n"
                     "one FILE per --file, repeated for several")
          ->type_name("FILE"),
      app.add_option("--help-name", options.help_names, "show the help text of NAME; needs no table")
          ->type_name("NAME"),
      // Hidden: the folder that stands for /sys, so tests can lay out a machine.
      app.add_option("--sysfs", options.sysfs)->group("")};
  for (CLI::Option* option : with_value) {
    // One value per occurrence, as --help shows it: a list gathers them all;
    // a single value given twice is refused after parsing, by name.
    const bool gathers = option->get_expected_max() > 1;
    option->allow_extra_args(false)->expected(1);
    option->multi_option_policy(gathers ? CLI::MultiOptionPolicy::TakeAll : CLI::MultiOptionPolicy::TakeLast);
  }
  app.add_flag("--sample", options.sample, "use the built-in table of a fictional machine");
  app.add_flag("--list", options.list,
               "list the structures: position, type, length, handle, the type's name,\n"
               "strings; TYPEs after it (--list 17 4) list only those");
  app.add_flag("--decode", options.decode,
               "print every field of every structure in words, as DSP0134 names\n"
               "them; TYPEs after it (--decode 17 4) decode only those");
  app.add_flag("--json", options.json, "print the values (or the report) as one JSON object");
  app.add_flag("--cmd", options.cmd, "print one line set \"NAME=value\" per NAME, for cmd.exe's for /f");
  app.add_flag("--real", options.real,
               "answer N/A for a variable whose value is a firmware placeholder\n"
               "(\"To Be Filled By O.E.M.\"), as @smbreal does");
  app.add_flag("--check", options.check,
               "check every structure against DSP0134, one finding per line\n"
               "(exit status 1 with a defect)");
  app.add_flag("--prometheus", options.prometheus,
               "write the identity, memory modules, processors and --check's\n"
               "findings for the textfile collectors of Prometheus exporters");
  app.add_flag("--banner", options.banner, "run as an interactive shell, so the load banner may show");
  app.add_flag("--names", options.names_list, "list every NAME with its arguments and its help's first sentence");
  app.add_flag("--version", options.version, "print the plug-in's name and version");
  app.add_flag("-h,--help", options.usage, "print this help");
  // A NAME is taken as it is: CLI11 would read "[a,b]" as a list of two
  // values, unless the option takes one value per argument, as many as come.
  constexpr int kAsManyAsCome = CLI::detail::expected_max_vector_size;
  app.add_option("NAME", options.names, "a variable (_smbmfg) or a function call (@smbword[4,0x16])")
      ->type_name("")
      ->expected(kAsManyAsCome, kAsManyAsCome)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

// The options that take a value, by the word their help shows for it.
constexpr std::pair<const char*, const char*> kValueOptions[] = {{"--from-dump", "FILE"},
                                                                 {"--dump-bin", "FILE"},
                                                                 {"--file", "FILE"},
                                                                 {"--help-name", "NAME"},
                                                                 {"--sysfs", "FOLDER"}};

// "--file=" with nothing after "=": CLI11 would take the next argument, an
// option perhaps, as the value. False, with the reason, for the first one
// before "--"; an empty argument after the option is found after parsing.
bool NoEmptyValue(const std::vector<std::string>& arguments, std::string* error) {
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    for (const auto& [option, word] : kValueOptions) {
      if (argument == std::string(option) + "=") return *error = option + std::string(": an empty ") + word, false;
    }
  }
  return true;
}

// A value option given twice (a table from two dumps?), or with an empty
// argument as its value. False with the reason.
bool EachValueOnceAndNamed(const CLI::App& app, const Options& options, std::string* error) {
  for (const auto& [option, word] : kValueOptions) {
    const bool gathers = std::string_view(option) == "--file" || std::string_view(option) == "--help-name";
    if (!gathers && app.count(option) > 1) return *error = option + std::string(" may be given once"), false;
  }
  const bool empty_batch_file =
      std::find(options.batch_files.begin(), options.batch_files.end(), "") != options.batch_files.end();
  const std::pair<const char*, bool> empty[] = {
      {"--from-dump: an empty FILE", options.from_dump && options.dump_file.empty()},
      {"--dump-bin: an empty FILE", options.dump_bin && options.dump_bin_file.empty()},
      {"--file: an empty FILE", empty_batch_file},
      {"--sysfs: an empty FOLDER", options.sysfs.empty()}};
  for (const auto& [message, found] : empty) {
    if (found) return *error = message, false;
  }
  return true;
}

// --json, --cmd and --real shape answers: to NAMEs, batch files, or the
// report, which runs when nothing else is asked; --json shapes --list's
// structures too. --names, --help-name and --dump-bin print no answers, nor
// does --list for --cmd and --real, which would change none of its bytes.
// False, with the reason, for an option that shapes nothing asked.
bool ShapesSomething(const Options& options, std::string* error) {
  const char* text_only = options.names_list            ? "--names"
                          : !options.help_names.empty() ? "--help-name"
                          : options.dump_bin            ? "--dump-bin"
                          : options.list                ? "--list"
                                                        : nullptr;
  if (text_only == nullptr || !options.names.empty() || !options.batch_files.empty()) return true;
  const char* shaper = options.cmd                     ? "--cmd"
                       : options.real                  ? "--real"
                       : options.json && !options.list ? "--json"
                                                       : nullptr;
  if (shaper == nullptr) return true;
  *error = shaper + std::string(" applies to answers, and ") + text_only + " gives none: add a NAME, or leave " +
           shaper + " out";
  return false;
}

// --list 17 4, --decode 17 4: the NAMEs that are numbers (decimal, or
// hexadecimal after 0x, as the functions read them) are structure types; no
// name of the plug-in is a number. False, with the reason, for a number
// past 255.
bool TakeListTypes(Options* options, std::string* error) {
  std::vector<std::string> names;
  for (const std::string& name : options->names) {
    const bool hexadecimal = name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X');
    const char* digits = name.data() + (hexadecimal ? 2 : 0);
    unsigned long long type = 0;
    const auto [end, failure] = std::from_chars(digits, name.data() + name.size(), type, hexadecimal ? 16 : 10);
    if (!(options->list || options->decode) || name.empty() || failure == std::errc::invalid_argument || end != name.data() + name.size()) {
      names.push_back(name);
    } else if (failure != std::errc() || type > 255) {
      return *error = (options->list ? "--list" : "--decode") + std::string(": no structure type ") + name + ": types are 0 - 255", false;
    } else {
      options->list_types.push_back(static_cast<uint8_t>(type));
    }
  }
  options->names = std::move(names);
  return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& arguments, Options* options, std::string* error) {
  CLI::App app("tarnwick", "tarnwick");
  Describe(app, *options);
  if (!NoEmptyValue(arguments, error)) return false;
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());  // CLI11 takes them last first
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& failure) {
    *error = failure.what();
    return false;
  }
  options->from_dump = app.count("--from-dump") != 0;
  options->dump_bin = app.count("--dump-bin") != 0;
  if (!EachValueOnceAndNamed(app, *options, error)) return false;
  if (!TakeListTypes(options, error)) return false;
  const auto exclusive = [&](bool both, const char* message) { return both ? (*error = message, false) : true; };
  // What --check and --prometheus, which read the table as a whole, have no use for.
  const bool asks_more = options->cmd || options->real || options->list || options->dump_bin ||
                         !options->names.empty() || !options->batch_files.empty() ||
                         !options->help_names.empty() || options->names_list;
  return exclusive(options->sample && options->from_dump, "--sample and --from-dump exclude each other") &&
         exclusive(options->json && options->cmd, "--json and --cmd exclude each other") &&
         exclusive(options->list && options->json && (!options->names.empty() || !options->batch_files.empty()),
                   "--list --json prints one array: ask for NAMEs in a run of their own") &&
         exclusive(options->list && options->cmd, "--list and --cmd exclude each other") &&
         exclusive(options->dump_bin && options->dump_bin_file == "-",
                   "--dump-bin writes a new file, not standard output: name a FILE") &&
         exclusive(options->check && asks_more,
                   "--check takes no NAME and goes only with --json, --sample or --from-dump") &&
         exclusive(options->prometheus && (options->check || options->json || asks_more),
                   "--prometheus takes no NAME and goes only with --sample or --from-dump") &&
         exclusive(options->decode && (options->check || options->prometheus || asks_more),
                   "--decode takes TYPEs, not NAMEs, and goes only with --json, --sample or --from-dump") &&
         ShapesSomething(*options, error);
}

std::string UsageText() {
  Options ignored;
  CLI::App app("tarnwick", "tarnwick");
  Describe(app, ignored);
  return app.help();
}

}  // namespace tarnwick::cli
