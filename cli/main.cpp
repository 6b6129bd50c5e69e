// tarnwick: the shell's part for the plug-in, from the command line. It
// loads the plug-in's core, lends it the host's services and variables, and
// evaluates names as the shell would. Texts are UTF-8 here; they become
// UTF-16 only where the plug-in takes or gives them.
//
// A run is a pipeline: parse the options, choose the mode, read the source,
// load, run the mode, shut down.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/batch_file.h"
#include "cli/cmd_set_lines.h"
#include "cli/decode_output.h"
#include "cli/host_state.h"
#include "cli/json_stream.h"
#include "cli/machine_table.h"
#include "cli/name_call.h"
#include "cli/name_listing.h"
#include "cli/name_message.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/prometheus_output.h"
#include "cli/real_values.h"
#include "cli/structure_listing.h"
#include "cli/table_file.h"
#include "cli/table_findings.h"
#include "cli/utf8_utf16.h"
#include "host/exports.h"
#include "platform/system.h"
#include "plugin/firmware_service.h"
#include "plugin/lifecycle.h"
#include "smbios/dump_layout.h"
#include "smbios/sample_table.h"

namespace tarnwick::cli {
namespace {

// The exit status is the worst of the steps' statuses, and a step that
// cannot run ends the run: 0 when every NAME answered, 1 when a NAME failed
// (or --check found something), 2 when tarnwick cannot run.
enum ExitStatus { kAllAnswered = 0, kNameFailed = 1, kCannotRun = 2 };
int Worst(int status, int step) { return std::max(status, step); }

int Refuse(const std::string& message) {
  Err("tarnwick: " + message + "\n");
  return kCannotRun;
}

// What a run does, chosen once from the options.
enum class Mode {
  kUsage,    // --help
  kVersion,  // --version
  kHelp,     // --names, --help-name alone: the one list, no table
  kCheck,    // --check
  kPrometheus,  // --prometheus
  kDecode,   // --decode
  kQuery,    // NAMEs, --file, --list, --dump-bin, after any help
  kReport,   // nothing asked: every variable
};

Mode ChooseMode(const Options& options) {
  if (options.usage) return Mode::kUsage;
  if (options.version) return Mode::kVersion;
  if (options.check) return Mode::kCheck;
  if (options.prometheus) return Mode::kPrometheus;
  if (options.decode) return Mode::kDecode;
  if (!options.names.empty() || !options.batch_files.empty() || options.list || options.dump_bin) return Mode::kQuery;
  if (options.names_list || !options.help_names.empty()) return Mode::kHelp;
  return Mode::kReport;
}

// Where the answers come from; the bytes must outlive the plug-in.
struct Source {
  bool from_file = false;  // --sample or --from-dump; else the machine's table
  Bytes table;             // the table read or built in, in the service's layout
  Bytes file;              // --check or --prometheus --from-dump: the file as read, for its entry point
  MachineTable machine;
};

int ReadSource(const Options& options, Source* source) {
  std::string error;
  if (options.sample) {
    source->table = SampleTable();
  } else if (options.from_dump) {
    if (!ReadTableFile(options.dump_file, &source->table, &error, options.check || options.prometheus ? &source->file : nullptr)) {
      return Refuse(error);
    }
  } else {
    return kAllAnswered;  // the machine's own, which loading reads
  }
  source->from_file = true;
  return kAllAnswered;
}

int Load(const Options& options, Source* source) {
  Host().transient = !options.banner;
  Host().in_pipe = platform::RunsInPipe();
  GetPluginInfo();  // first, as the shell asks it
  const int loaded = source->from_file
                         ? InitializeWithTable(source->table.data(), static_cast<uint32_t>(source->table.size()))
                         : LoadMachineTable(options.sysfs, &source->machine);
  return loaded == 0 ? kAllAnswered : kCannotRun;  // the plug-in said why
}

enum class Format { kLines, kJson, kCmd };

// Answers NAMEs as the options ask: from the source, --real or not, shown as
// lines, as members of one JSON object or as cmd.exe's set lines.
class Answers {
 public:
  Answers(const Options& options, const MachineTable& machine)
      : machine_(machine),
        real_(options.real),
        format_(options.json ? Format::kJson : options.cmd ? Format::kCmd : Format::kLines) {}

  // A failed NAME keeps its place: null in JSON, an empty line as lines,
  // so that answers read by position stay the NAMEs' (its reason is on
  // standard error); no set line for cmd.exe.
  int Evaluate(const std::string& text) {
    const CallResult result = CallAnswer(machine_, text, real_);
    if (result.ok) return Show(text, result.value) ? kAllAnswered : kNameFailed;
    if (format_ == Format::kJson) json_.Member(text, nullptr);
    if (format_ == Format::kLines) Out("\n");
    return kNameFailed;
  }

  // Each line is answered as it is read, so that answers stream out.
  int EvaluateBatchFile(const std::string& path) {
    Bytes file;
    std::string error;
    if (!ReadBatchFile(path, &file, &error)) return Refuse(error);
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    // Room for a name per line, reserved before they come: memory grows as they do, without copies.
    json_.Expect(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    HostState& host = Host();
    host.in_batch = true;
    host.batch_name = path == "-" ? "<stdin>" : platform::FullPathName(path);
    int status = kAllAnswered;
    ForEachBatchLine(text, [&](const BatchLine& line) {
      host.batch_line = line.number;
      status = Worst(status, Evaluate(line.text));
    });
    host.in_batch = false;
    return status;
  }

  // Every variable; as lines, each name padded to the longest and two
  // blanks. Variables that the folder of DMI files cannot give, when it
  // stands in for the table, have no value and are named once on standard
  // error: the report is what can be read, and no failure.
  int Report() {
    int status = kAllAnswered;
    std::vector<std::string> need_table;
    for (const ExportEntry& row : kExportTable) {
      if (row.is_function) continue;
      const std::string name = EncodeUtf8(row.name);
      const size_t refused = need_table.size();
      const CallResult result = CallAnswer(machine_, name, real_, &need_table);
      if (!result.ok) {
        status = Worst(status, need_table.size() > refused ? kAllAnswered : kNameFailed);
        if (format_ == Format::kJson) json_.Member(name, nullptr);
        if (format_ == Format::kLines) Out(name + "\n");
      } else if (format_ != Format::kLines) {
        status = Worst(status, Show(name, result.value) ? kAllAnswered : kNameFailed);
      } else if (result.value.empty()) {
        Out(name + "\n");  // no trailing blanks after a name without value
      } else {
        Out(name + std::string(name.size() < 20 ? 20 - name.size() : 2, ' ') + result.value + "\n");
      }
    }
    if (!need_table.empty()) RefuseNeedingTable(machine_, need_table);
    return status;
  }

  // Members already written are closed into an object even when a later
  // batch file cannot be read.
  void CloseJson(int status) {
    if (format_ == Format::kJson && (status != kCannotRun || json_.Started())) json_.Close();
  }

 private:
  // False when the answer cannot be shown as the format asks.
  bool Show(const std::string& name, const std::string& value) {
    if (format_ == Format::kJson) {
      json_.Member(name, &value);
    } else if (format_ == Format::kCmd) {
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

  const MachineTable& machine_;
  const bool real_;
  const Format format_;
  JsonObjectStream json_;
};

// --dump-bin, --list, the NAMEs, the batch files; with none, the report.
int RunQuery(Mode mode, const Options& options, const Source& source) {
  if (options.dump_bin) {
    std::string error;
    if (!platform::WriteNewFile(options.dump_bin_file, DumpLayout(ImageOf(LoadedTableModel())), &error)) {
      return Refuse("cannot write " + options.dump_bin_file + ": " + error);
    }
  }
  if (options.list) Out(options.json ? StructureListingJson(options.list_types) : StructureListing(options.list_types));
  Answers answers(options, source.machine);
  int status = kAllAnswered;
  for (const std::string& name : options.names) status = Worst(status, answers.Evaluate(name));
  for (const std::string& path : options.batch_files) {
    status = Worst(status, answers.EvaluateBatchFile(path));
    if (status == kCannotRun) break;
  }
  if (mode == Mode::kReport) status = answers.Report();
  if (mode == Mode::kReport || !options.names.empty() || !options.batch_files.empty()) answers.CloseJson(status);
  return status;
}

// The findings of the loaded table and of the entry point in front of it:
// a dump's, which its table must fit, or the kernel's.
int RunCheck(const Options& options, const Source& source) {
  const Bytes entry = source.from_file ? source.file : KernelEntryPoint(options.sysfs);
  const bool found =
      PrintFindings(options.json, {entry.data(), entry.size(), source.from_file ? entry.size() : 0});
  return found ? kNameFailed : kAllAnswered;
}

// The exposition for the textfile collectors; the findings only of a
// table that is the machine's (not one built from its DMI files).
int RunPrometheus(const Options& options, const Source& source) {
  std::vector<Finding> findings;
  if (!source.machine.dmi_id) {
    const Bytes entry = source.from_file ? source.file : KernelEntryPoint(options.sysfs);
    findings = CheckTable({entry.data(), entry.size(), source.from_file ? entry.size() : 0});
  }
  const CallResult chassis = CallAnswer(source.machine, "_smbchassistype", true);
  Out(PrometheusText(LoadedTableModel(), chassis.value == "N/A" ? "" : chassis.value,
                     source.machine.dmi_id ? nullptr : &findings));
  return kAllAnswered;
}

// Every field of the structures asked, in words.
int RunDecode(const Options& options) {
  const TableModel model = LoadedTableModel();
  Out(options.json ? DecodeJson(model, options.list_types) : DecodeText(model, options.list_types));
  return kAllAnswered;
}

int RunMode(Mode mode, const Options& options, const Source& source) {
  if (source.machine.dmi_id && (options.check || options.dump_bin || options.list || options.decode)) {
    // The table built from the folder is not the machine's to check, dump, list or decode.
    const std::string option = options.check      ? "--check"
                               : options.dump_bin ? "--dump-bin"
                               : options.list     ? "--list"
                                                  : "--decode";
    return Refuse(option + " needs " + TableNotGiven(source.machine));
  }
  if (mode == Mode::kPrometheus) return RunPrometheus(options, source);
  if (mode == Mode::kDecode) return RunDecode(options);
  return mode == Mode::kCheck ? RunCheck(options, source) : RunQuery(mode, options, source);
}

int ShowVersion() {
  const PluginInfo* info = GetPluginInfo();
  Out(EncodeUtf8(info->name) + " v" + std::to_string(info->major) + '.' + std::to_string(info->minor) + '.' +
      std::to_string(info->build) + "\n");
  return kAllAnswered;
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

int Run(const std::vector<std::string>& arguments) {
  Options options;
  if (std::string error; !ParseOptions(arguments, &options, &error)) {
    return Refuse(error + "\nTry 'tarnwick --help'.");
  }
  const Mode mode = ChooseMode(options);
  if (mode == Mode::kUsage) return Out(UsageText()), kAllAnswered;
  if (mode == Mode::kVersion) return ShowVersion();
  const int help = ShowHelp(options);
  if (mode == Mode::kHelp) return help;
  Source source;
  if (ReadSource(options, &source) == kCannotRun || Load(options, &source) == kCannotRun) return kCannotRun;
  const int status = RunMode(mode, options, source);
  ShutdownPlugin(0);
  return Worst(help, status);
}

}  // namespace
}  // namespace tarnwick::cli

int main(int argc, char** argv) {
  using namespace tarnwick::cli;
  tarnwick::platform::PrepareStandardStreams();
  const int status = Run(tarnwick::platform::CommandLineArguments(argc, argv));
  FlushOutput();
  return status;
}
