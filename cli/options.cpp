#include "cli/options.h"

namespace tarnwick::cli {

const char16_t kUsage[] =
    u"Usage: tarnwick [OPTION ...] [NAME ...]\n"
    u"Evaluates the plug-in's variables (_smbmfg) and functions (@smbword[4,0x16])\n"
    u"against the machine's SMBIOS table; without NAME, reports all 36 variables.\n"
    u"\n"
    u"  --from-dump FILE   read the table from FILE: a dmidecode --dump-bin file,\n"
    u"                     a firmware-service buffer or a bare structure table\n"
    u"  --sample           use the built-in table of a fictional machine\n"
    u"  --dump-bin FILE    write the loaded table as dmidecode --from-dump reads it\n"
    u"  --list             list the structures: position, type, length, handle, strings\n"
    u"  --file FILE        evaluate one NAME per line of FILE (- for standard input)\n"
    u"  --help-name NAME   show the help text of NAME\n"
    u"  --json             print the values (or the report) as one JSON object\n"
    u"  --banner           run as an interactive shell, so the load banner may show\n"
    u"  --version          print the plug-in's name and version\n"
    u"  -h, --help         print this help\n"
    u"\n"
    u"Exit status: 0 when every NAME answered; 1 when a NAME failed or is unknown;\n"
    u"2 for a usage error, an unreadable or unwritable file, or a plug-in that did\n"
    u"not load.\n";

namespace {

struct ValueOption {
  std::u16string_view name;
  void (*store)(Options&, const std::u16string&);
};

constexpr ValueOption kValueOptions[] = {
    {u"--from-dump", [](Options& o, const std::u16string& v) { o.from_dump = true, o.dump_file = v; }},
    {u"--dump-bin", [](Options& o, const std::u16string& v) { o.dump_bin = true, o.dump_bin_file = v; }},
    {u"--file", [](Options& o, const std::u16string& v) { o.batch_files.push_back(v); }},
    {u"--help-name", [](Options& o, const std::u16string& v) { o.help_names.push_back(v); }},
};

struct FlagOption {
  std::u16string_view name;
  bool Options::*flag;
};

constexpr FlagOption kFlagOptions[] = {
    {u"--sample", &Options::sample}, {u"--list", &Options::list},       {u"--json", &Options::json},
    {u"--banner", &Options::banner}, {u"--version", &Options::version}, {u"--help", &Options::usage},
    {u"-h", &Options::usage},
};

}  // namespace

bool ParseOptions(const std::vector<std::u16string>& arguments, Options* options, std::u16string* error) {
  bool only_names = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (only_names || argument.empty() || argument[0] != u'-') {
      options->names.push_back(argument);
      continue;
    }
    if (argument == u"--") {
      only_names = true;
      continue;
    }
    const size_t equals = argument.find(u'=');
    const std::u16string_view option = std::u16string_view(argument).substr(0, equals);
    bool known = false;
    for (const FlagOption& flag : kFlagOptions) {
      if (option != flag.name) continue;
      if (equals != std::u16string::npos) {
        *error = u"option " + std::u16string(option) + u" takes no value";
        return false;
      }
      options->*flag.flag = true;
      known = true;
    }
    for (const ValueOption& value : kValueOptions) {
      if (option != value.name) continue;
      if (equals != std::u16string::npos) {
        value.store(*options, argument.substr(equals + 1));
      } else if (i + 1 < arguments.size()) {
        value.store(*options, arguments[++i]);
      } else {
        *error = u"option " + argument + u" needs a value";
        return false;
      }
      known = true;
    }
    if (!known) {
      *error = u"unknown option " + argument;
      return false;
    }
  }
  if (options->sample && options->from_dump) {
    *error = u"--sample and --from-dump exclude each other";
    return false;
  }
  return true;
}

}  // namespace tarnwick::cli
