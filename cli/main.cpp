// tarnwick: the shell's part for the plug-in, from the command line. It
// loads the plug-in's core, lends it the host's services and variables, and
// evaluates names as the shell would. Texts are UTF-8 here; they become
// UTF-16 only where the plug-in takes or gives them.
//
// A run is a pipeline: parse the options into what to run (mode, source,
// format), read the source, load, run the mode, shut down.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/names/answers.h"
#include "cli/output/decode_output.h"
#include "cli/exit_status.h"
#include "cli/names/host_state.h"
#include "cli/input/machine_table.h"
#include "cli/names/name_call.h"
#include "cli/names/name_listing.h"
#include "cli/names/name_message.h"
#include "cli/options.h"
#include "cli/output/output.h"
#include "cli/output/prometheus_output.h"
#include "cli/output/real_values.h"
#include "cli/output/structure_listing.h"
#include "cli/input/table_file.h"
#include "cli/output/table_findings.h"
#include "cli/names/utf8_utf16.h"
#include "host/exports.h"
#include "platform/system.h"
#include "plugin/firmware_service.h"
#include "plugin/lifecycle.h"
#include "smbios/model/dump_layout.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/model/sample_table.h"
#include "smbios/check/table_check.h"
#include "smbios/model/table_model.h"
#include "smbios/description/structure_types.h"

namespace tarnwick::cli {
namespace {

// Where the answers come from; the bytes must outlive the plug-in.
struct Source {
  bool from_file = false;  // --sample or --from-dump; else the machine's table
  Bytes table;             // the table read or built in, in the service's layout
  Bytes file;              // for --check and --prometheus: the dump as read, or the kernel's entry point
  MachineTable machine;
};

int ReadSource(const Task& task, Source* source) {
  std::string error;
  if (task.source == TableSource::kSample) {
    source->table = SampleTable();
  } else if (task.source == TableSource::kDump) {
    const bool whole_table = task.mode == Mode::kCheck || task.mode == Mode::kPrometheus;
    if (!ReadTableFile(task.dump_file, &source->table, &error, whole_table ? &source->file : nullptr)) {
      return Refuse(error);
    }
  } else {
    return kAllAnswered;  // the machine's own, which loading reads
  }
  source->from_file = true;
  return kAllAnswered;
}

int Load(const Task& task, Source* source) {
  Host().transient = !task.banner;
  Host().in_pipe = platform::RunsInPipe();
  GetPluginInfo();  // first, as the shell asks it
  const int loaded = source->from_file
                         ? InitializeWithTable(source->table.data(), static_cast<uint32_t>(source->table.size()))
                         : LoadMachineTable(task.sysfs, task.udev_data, &source->machine);
  return loaded == 0 ? kAllAnswered : kCannotRun;  // the plug-in said why
}

// The loaded table's model, built once for the outputs that read the whole
// table (--check, --prometheus, --list, --dump-bin, --decode), with the
// entry point in front of the table for the first two: a dump's, which its
// table must fit, or the kernel's (none for a table built from the DMI files).
TableModel ReadModel(const Task& task, Source* source) {
  EntryPointBytes entry;
  const bool checks = task.mode == Mode::kCheck || task.mode == Mode::kPrometheus;
  if (checks && !source->machine.dmi_id) {
    if (!source->from_file) source->file = KernelEntryPoint(task.sysfs);
    entry = {source->file.data(), source->file.size(), source->from_file ? source->file.size() : 0};
  }
  return ReadTableModel(HeldTable(), entry);
}

// --dump-bin, --list, the NAMEs, the batch files; with none, the report.
int RunQuery(const Task& task, const Source& source, const TableModel& model) {
  if (!task.dump_bin_file.empty()) {
    std::string error;
    if (!platform::WriteNewFile(task.dump_bin_file, DumpLayout(ImageOf(model)), &error)) {
      return Refuse("cannot write " + task.dump_bin_file + ": " + error);
    }
  }
  if (task.list) {
    Out(task.format == Format::kJson ? StructureListingJson(model, task.types) : StructureListing(model, task.types));
  }
  Answers answers(task, source.machine);
  int status = kAllAnswered;
  for (const std::string& name : task.names) status = Worst(status, answers.Evaluate(name));
  for (const std::string& path : task.batch_files) {
    status = Worst(status, answers.EvaluateBatchFile(path));
    if (status == kCannotRun) break;
  }
  if (task.mode == Mode::kReport) status = answers.Report();
  if (task.mode == Mode::kReport || !task.names.empty() || !task.batch_files.empty()) answers.CloseJson(status);
  return status;
}

// The exposition for the textfile collectors; the findings only of a
// table that is the machine's (not one built from its DMI files).
int RunPrometheus(const Source& source, const TableModel& model) {
  FindingCounts findings;
  if (!source.machine.dmi_id) CheckModel(model, &findings);
  Out(PrometheusText(model, source.machine.dmi_id ? nullptr : &findings));
  return kAllAnswered;
}

// Every field of the structures asked, in words; from udev's memory devices,
// the fields their properties give.
int RunDecode(const Task& task, const Source& source, std::span<const uint8_t> types, const TableModel& model) {
  const FieldShown shown = source.machine.dmi_id ? FieldsFromSource(source.machine, model) : FieldShown();
  Out(task.format == Format::kJson ? DecodeJson(model, types, shown) : DecodeText(model, types, shown));
  return kAllAnswered;
}

int RunMode(const Task& task, Source* source) {
  const bool check = task.mode == Mode::kCheck, dump_bin = !task.dump_bin_file.empty();
  // From udev's memory devices, --decode without TYPEs decodes the only structures they give.
  static constexpr uint8_t kMemoryDevices[] = {kMemoryDeviceType};
  std::span<const uint8_t> decoded = task.types;
  if (source->machine.dmi_id && task.types.empty()) decoded = kMemoryDevices;
  const bool by_folder = (task.list && !ListsFromSource(source->machine, task.types)) ||
                         (task.decode && !ListsFromSource(source->machine, decoded));
  if (source->machine.dmi_id && (check || dump_bin || by_folder)) {
    // The table built from the folder is not the machine's to check, dump, list or decode: the
    // fields the files do not give would read as values the firmware never stored.
    const std::string option = check ? "--check" : dump_bin ? "--dump-bin" : task.decode ? "--decode" : "--list";
    return Refuse(option + " needs " + TableNotGiven(source->machine));
  }
  const bool whole_table = check || task.mode == Mode::kPrometheus || task.list || dump_bin || task.decode;
  const TableModel model = whole_table ? ReadModel(task, source) : TableModel();
  if (task.mode == Mode::kPrometheus) return RunPrometheus(*source, model);
  if (task.mode == Mode::kDecode) return RunDecode(task, *source, decoded, model);
  if (check) return PrintFindings(task.format == Format::kJson, model) ? kNameFailed : kAllAnswered;
  return RunQuery(task, *source, model);
}

int ShowVersion() {
  const PluginInfo* info = GetPluginInfo();
  Out(EncodeUtf8(info->name) + " v" + std::to_string(info->major) + '.' + std::to_string(info->minor) + '.' +
      std::to_string(info->build) + "\n");
  return kAllAnswered;
}

// Help and the list of names come from the one list: no table needed, and
// standard output on every system.
int ShowHelp(const Task& task) {
  if (task.names_list) Out(NameListing());
  int status = kAllAnswered;
  for (const std::string& name : task.help_names) {
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
  Task task;
  if (std::string error; !ParseOptions(arguments, &task, &error)) {
    return Refuse(error + "\nTry 'tarnwick --help'.");
  }
  if (task.mode == Mode::kUsage) return Out(UsageText()), kAllAnswered;
  if (task.mode == Mode::kVersion) return ShowVersion();
  const int help = ShowHelp(task);
  if (task.mode == Mode::kHelp) return help;
  Source source;
  if (ReadSource(task, &source) == kCannotRun || Load(task, &source) == kCannotRun) return kCannotRun;
  const int status = RunMode(task, &source);
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
