// tarnwick: the shell's part for the plug-in, from the command line. It
// loads the plug-in's core, lends it the host's services and variables, and
// evaluates names as the shell would. Texts are UTF-8 here; they become
// UTF-16 only where the plug-in takes or gives them.
#include <algorithm>
#include <string>

#include "cli/batch_file.h"
#include "cli/cmd_set_lines.h"
#include "cli/dump_layout.h"
#include "cli/host_state.h"
#include "cli/json_stream.h"
#include "cli/machine_table.h"
#include "cli/name_call.h"
#include "cli/name_listing.h"
#include "cli/name_message.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/real_values.h"
#include "cli/sample_table.h"
#include "cli/structure_listing.h"
#include "cli/system.h"
#include "cli/table_file.h"
#include "cli/table_findings.h"
#include "cli/utf8_utf16.h"
#include "host/exports.h"
#include "plugin/lifecycle.h"

namespace tarnwick::cli {
namespace {

enum ExitStatus { kAllAnswered = 0, kNameFailed = 1, kCannotRun = 2 };

enum class Format { kLines, kJson, kCmd };

int Refuse(const std::string& message) {
  Err("tarnwick: " + message + "\n");
  return kCannotRun;
}

// --real: variables answer through the placeholder rule of @smbreal.
bool g_real = false;

// The table read from a file or built in; it must outlive the plug-in.
Bytes g_firmware;
bool g_firmware_read = false;
Bytes g_table_file;  // --check --from-dump: the file, for its entry point
MachineTable g_machine;

int ReadTable(const Options& options) {
  if (options.sample) {
    g_firmware = SampleTable();
  } else if (options.from_dump) {
    std::string error;
    if (!ReadTableFile(options.dump_file, &g_firmware, &error, options.check ? &g_table_file : nullptr)) {
      return Refuse(error);
    }
  } else {
    return kAllAnswered;  // the machine's own table
  }
  g_firmware_read = true;
  return kAllAnswered;
}

int WriteDump(const std::string& path) {
  std::string error;
  if (!WriteNewFile(path, DumpLayout(LoadedTableImage()), &error)) return Refuse("cannot write " + path + ": " + error);
  return kAllAnswered;
}

// Shows one answer as `format` asks; false when it cannot be shown so.
bool Show(Format format, const std::string& name, const std::string& value, JsonObjectStream* json) {
  if (format == Format::kJson) {
    json->Member(name, &value);
  } else if (format == Format::kCmd) {
    std::string line, reason;
    if (!CmdSetLine(name, value, &line, &reason)) {
      RefuseName(name, reason);
      return false;
    }
    Out(line);
  } else {
    Out(value + "\n");
  }
  return true;
}

int Evaluate(const std::string& text, Format format, JsonObjectStream* json) {
  const CallResult result = CallAnswer(g_machine, text, g_real);
  if (result.ok) return Show(format, text, result.value, json) ? kAllAnswered : kNameFailed;
  if (format == Format::kJson) json->Member(text, nullptr);
  return kNameFailed;
}

// Each line is answered as it is read, so that answers stream out.
int RunBatchFile(const std::string& path, Format format, JsonObjectStream* json) {
  Bytes file;
  std::string error;
  if (!ReadBatchFile(path, &file, &error)) return Refuse(error);
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  // Room for a name per line, reserved before they come: memory grows as they do, without copies.
  json->Expect(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  HostState& host = Host();
  host.in_batch = true;
  host.batch_name = path == "-" ? "<stdin>" : FullPathName(path);
  int status = kAllAnswered;
  ForEachBatchLine(text, [&](const BatchLine& line) {
    host.batch_line = line.number;
    if (Evaluate(line.text, format, json) != kAllAnswered) status = kNameFailed;
  });
  host.in_batch = false;
  return status;
}

int Report(Format format, JsonObjectStream* json) {
  int status = kAllAnswered;
  for (const ExportEntry& row : kExportTable) {
    if (row.is_function) continue;
    const std::string name = EncodeUtf8(row.name);
    const CallResult result = CallAnswer(g_machine, name, g_real);
    const std::string& value = result.value;
    if (!result.ok) {  // refused by tarnwick: the variables themselves always answer
      status = kNameFailed;
      if (format == Format::kJson) json->Member(name, nullptr);
    } else if (format != Format::kLines) {
      if (!Show(format, name, value, json)) status = kNameFailed;
    } else if (value.empty()) {
      Out(name + "\n");  // no trailing blanks after a name without value
    } else {
      // The longest name and two blanks.
      Out(name + std::string(name.size() < 20 ? 20 - name.size() : 2, ' ') + value + "\n");
    }
  }
  return status;
}

// Help and the list of names come from the one list: no table needed, and
// standard output on every system.
int ShowHelp(const Options& options) {
  if (options.names_list) Out(NameListing());
  int status = kAllAnswered;
  for (const std::string& name : options.help_names) {
    if (const ExportEntry* row = FindName(DecodeUtf8(name))) {
      Out(EncodeUtf8(row->help));
    } else {
      Err("tarnwick: " + name + ": no help: not one of the plug-in's names\n");
      status = kNameFailed;
    }
  }
  return status;
}

int Run(const Options& options) {
  if (options.usage) {
    Out(UsageText());
    return kAllAnswered;
  }
  if (options.version) {
    const PluginInfo* info = GetPluginInfo();
    Out(EncodeUtf8(info->name) + " v" + std::to_string(info->major) + '.' + std::to_string(info->minor) + '.' +
        std::to_string(info->build) + "\n");
    return kAllAnswered;
  }
  int status = ShowHelp(options);
  const bool asked_for_names = !options.names.empty() || !options.batch_files.empty();
  const bool asked_help = options.names_list || !options.help_names.empty();
  const bool asked_anything = asked_for_names || options.list || options.dump_bin || asked_help;
  if (asked_help && !asked_for_names && !options.list && !options.dump_bin) return status;

  Host().transient = !options.banner;
  Host().in_pipe = RunsInPipe();
  if (const int read = ReadTable(options); read != kAllAnswered) return read;

  GetPluginInfo();
  const int loaded = g_firmware_read
                         ? InitializeWithTable(g_firmware.data(), static_cast<uint32_t>(g_firmware.size()))
                         : LoadMachineTable(options.sysfs, &g_machine);
  if (loaded != 0) return kCannotRun;  // the plug-in said why
  const Format format = options.json ? Format::kJson : options.cmd ? Format::kCmd : Format::kLines;
  g_real = options.real;
  if (g_machine.dmi_id && (options.check || options.dump_bin || options.list)) {
    // The table built from the folder is not the machine's to check, dump or list.
    const std::string option = options.check ? "--check" : options.dump_bin ? "--dump-bin" : "--list";
    ShutdownPlugin(0);
    return Refuse(option + " needs the SMBIOS table, which " + g_machine.dmi_id_folder + " does not give; run as root");
  }
  if (options.check) {
    // A dump's entry point, which its table must fit; or the kernel's.
    const Bytes entry = g_firmware_read ? g_table_file : KernelEntryPoint(options.sysfs);
    const bool found = PrintFindings(options.json, {entry.data(), entry.size(), g_firmware_read ? entry.size() : 0});
    ShutdownPlugin(0);
    return found ? kNameFailed : kAllAnswered;
  }
  if (options.dump_bin && WriteDump(options.dump_bin_file) == kCannotRun) status = kCannotRun;
  if (status != kCannotRun && options.list) Out(StructureListing());
  JsonObjectStream json;
  if (status != kCannotRun) {
    for (const std::string& name : options.names) status |= Evaluate(name, format, &json);
    for (const std::string& path : options.batch_files) {
      const int batch = RunBatchFile(path, format, &json);
      status = batch == kCannotRun ? kCannotRun : (status | batch);
      if (status == kCannotRun) break;
    }
  }
  if (status != kCannotRun && !asked_anything) status |= Report(format, &json);
  // Members already written are closed into an object even when a later batch file cannot be read.
  const bool json_wanted = format == Format::kJson && (asked_for_names || !asked_anything);
  if (json_wanted && (status != kCannotRun || json.Started())) json.Close();
  ShutdownPlugin(0);
  return status;
}

}  // namespace
}  // namespace tarnwick::cli

int main(int argc, char** argv) {
  using namespace tarnwick::cli;
  PrepareStandardStreams();
  Options options;
  std::string error;
  int status = kCannotRun;
  if (ParseOptions(CommandLineArguments(argc, argv), &options, &error)) {
    status = Run(options);
  } else {
    Err("tarnwick: " + error + "\nTry 'tarnwick --help'.\n");
  }
  FlushOutput();
  return status;
}
