// tarnwick: the shell's part for the plug-in, from the command line. It
// loads the plug-in's core, lends it the host's services and variables, and
// evaluates names as the shell would.
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_file.h"
#include "cli/dump_layout.h"
#include "cli/host_state.h"
#include "cli/name_call.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/sample_table.h"
#include "cli/structure_listing.h"
#include "cli/system.h"
#include "cli/text_quoting.h"
#include "host/exports.h"
#include "plugin/lifecycle.h"

namespace tarnwick::cli {
namespace {

enum ExitStatus { kAllAnswered = 0, kNameFailed = 1, kCannotRun = 2 };

struct Answer {
  std::u16string name;
  std::optional<std::u16string> value;  // none: the name failed
};

int Refuse(std::u16string_view message) {
  Err(u"tarnwick: " + std::u16string(message) + u"\n");
  return kCannotRun;
}

// The table read from a file or built in; it must outlive the plug-in.
Bytes g_firmware;
bool g_firmware_read = false;

int ReadTable(const Options& options) {
  if (options.sample) {
    g_firmware = SampleTable();
  } else if (options.from_dump) {
    Bytes file;
    if (!ReadWholeFile(options.dump_file, &file)) return Refuse(u"cannot read " + options.dump_file);
    if (file.size() > 0xFFFFFFF0u) return Refuse(options.dump_file + u": too large for a firmware table");
    std::u16string error;
    if (!ServiceLayoutFromFile(file, &g_firmware, &error)) return Refuse(options.dump_file + u": " + error);
  } else {
    return kAllAnswered;  // the machine's own table
  }
  g_firmware_read = true;
  return kAllAnswered;
}

int WriteDump(const std::u16string& path) {
  if (!WriteWholeFile(path, DumpLayout(LoadedTableImage()))) return Refuse(u"cannot write " + path);
  return kAllAnswered;
}

int Evaluate(std::u16string_view text, bool json, std::vector<Answer>* answers) {
  CallResult result = CallName(text);
  if (json) {
    answers->push_back({std::u16string(text), result.ok ? std::optional(result.value) : std::nullopt});
  } else if (result.ok) {
    Out(result.value + u"\n");
  }
  return result.ok ? kAllAnswered : kNameFailed;
}

int RunBatchFile(const std::u16string& path, bool json, std::vector<Answer>* answers) {
  Bytes bytes;
  if (!ReadWholeFile(path, &bytes)) return Refuse(u"cannot read " + path);
  HostState& host = Host();
  host.in_batch = true;
  host.batch_name = path == u"-" ? u"<stdin>" : FullPathName(path);
  int status = kAllAnswered;
  for (const BatchLine& line :
       BatchLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
    host.batch_line = line.number;
    if (Evaluate(line.text, json, answers) != kAllAnswered) status = kNameFailed;
  }
  host.in_batch = false;
  return status;
}

void Report(bool json, std::vector<Answer>* answers) {
  for (const ExportEntry& row : kExportTable) {
    if (row.is_function) continue;
    CallResult result = CallName(row.name);
    if (json) {
      answers->push_back({std::u16string(row.name), result.value});
    } else {
      std::u16string line(row.name);
      // The longest name and two blanks; no trailing blanks after a name
      // without value.
      if (!result.value.empty()) line.resize(20, u' ');
      Out(line + result.value + u"\n");
    }
  }
}

void PrintJson(const std::vector<Answer>& answers) {
  if (answers.empty()) return Out(u"{}\n");
  std::u16string out = u"{\n";
  for (size_t i = 0; i < answers.size(); ++i) {
    out += u"  " + JsonString(answers[i].name) + u": ";
    out += answers[i].value ? JsonString(*answers[i].value) : u"null";
    out += i + 1 < answers.size() ? u",\n" : u"\n";
  }
  Out(out + u"}\n");
}

int Run(const Options& options) {
  if (options.usage) {
    Out(kUsage);
    return kAllAnswered;
  }
  if (options.version) {
    const PluginInfo* info = GetPluginInfo();
    Out(std::u16string(info->name) + u" v" + DecimalText(static_cast<uint64_t>(info->major)) + u'.' +
        DecimalText(static_cast<uint64_t>(info->minor)) + u'.' + DecimalText(static_cast<uint64_t>(info->build)) +
        u"\n");
    return kAllAnswered;
  }
  Host().transient = !options.banner;
  Host().in_pipe = RunsInPipe();
  if (const int status = ReadTable(options); status != kAllAnswered) return status;

  GetPluginInfo();
  const int loaded = g_firmware_read
                         ? InitializeWithTable(g_firmware.data(), static_cast<uint32_t>(g_firmware.size()))
                         : InitializePlugin();
  if (loaded != 0) return kCannotRun;  // the plug-in said why
  int status = kAllAnswered;
  if (options.dump_bin) status = WriteDump(options.dump_bin_file);
  if (status == kAllAnswered && options.list) Out(StructureListing());
  for (const std::u16string& name : options.help_names) {
    FlushOutput();  // the plug-in may write the help text to standard output itself
    if (status != kCannotRun && Help(name.c_str()) == 0) {
      Err(u"tarnwick: " + name + u": no help: not one of the plug-in's names\n");
      status = kNameFailed;
    }
  }
  std::vector<Answer> answers;
  if (status != kCannotRun) {
    for (const std::u16string& name : options.names) status |= Evaluate(name, options.json, &answers);
    for (const std::u16string& path : options.batch_files) {
      const int batch = RunBatchFile(path, options.json, &answers);
      status = batch == kCannotRun ? kCannotRun : (status | batch);
      if (status == kCannotRun) break;
    }
  }
  const bool asked_for_names = !options.names.empty() || !options.batch_files.empty();
  const bool asked_anything = asked_for_names || options.list || options.dump_bin || !options.help_names.empty();
  if (status != kCannotRun && !asked_anything) Report(options.json, &answers);
  if (status != kCannotRun && options.json && (asked_for_names || !asked_anything)) PrintJson(answers);
  ShutdownPlugin(0);
  return status;
}

}  // namespace
}  // namespace tarnwick::cli

int main(int argc, char** argv) {
  using namespace tarnwick::cli;
  Options options;
  std::u16string error;
  int status = kCannotRun;
  if (ParseOptions(CommandLineArguments(argc, argv), &options, &error)) {
    status = Run(options);
  } else {
    Err(u"tarnwick: " + error + u"\nTry 'tarnwick --help'.\n");
  }
  FlushOutput();
  return status;
}
