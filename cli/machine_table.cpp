#include "cli/machine_table.h"

#include "cli/name_message.h"
#include "cli/output.h"
#include "cli/utf8_utf16.h"
#include "host/export_table.h"
#include "host/exports.h"
#include "platform/system.h"
#include "plugin/firmware_service.h"
#include "plugin/lifecycle.h"
#include "smbios/firmware_table.h"

namespace tarnwick::cli {
namespace {

// Root, and any user on Windows, may read the table: running as root helps no one who does.
std::string WhatToDo() {
  return std::string(platform::RunsAsRoot() ? "" : "run as root, or ") + "use --sample or --from-dump FILE";
}

int LoadBytes(MachineTable* machine) {
  return InitializeWithTable(machine->bytes.data(), static_cast<uint32_t>(machine->bytes.size()));
}

// The table the plug-in reads itself, or, under another folder than the
// system's, the same read from there (Linux; Windows has one service).
int LoadReadableTable([[maybe_unused]] const std::string& sysfs, [[maybe_unused]] MachineTable* machine) {
#if !defined(_WIN32)
  // The plug-in reads no more than any other source either; tarnwick names the file.
  const std::string folder = platform::DmiTablesFolder(sysfs);
  if (platform::FileSize(folder, "DMI", kLargestTable) > kLargestTable) {
    Err("tarnwick: " + folder + "/DMI: larger than any SMBIOS table (16 MiB)\n");
    return -1;
  }
  if (sysfs != platform::kSysfs) {
    machine->bytes.resize(ReadDmiTables(folder, nullptr, 0));
    if (!machine->bytes.empty() &&
        ReadDmiTables(folder, machine->bytes.data(), static_cast<uint32_t>(machine->bytes.size())) !=
            machine->bytes.size()) {
      machine->bytes.clear();
    }
    return LoadBytes(machine);
  }
#endif
  return InitializePlugin();
}

}  // namespace

int LoadMachineTable(const std::string& sysfs, MachineTable* machine) {
  std::string tried, reason;
  if (platform::ProbeMachineTable(sysfs, &tried, &reason)) return LoadReadableTable(sysfs, machine);
  machine->dmi_id_folder = platform::DmiIdFolder(sysfs);
  KernelDmiTexts texts;
  std::string unreadable;  // no folder: no word about it, the table is what is missing
  std::vector<std::string> faults;
  if (ReadDmiIdFolder(machine->dmi_id_folder, &texts, &machine->dmi_id_unread, &faults, &unreadable)) {
    Err("tarnwick: cannot read " + tried + ": " + reason + "; answers come from " + machine->dmi_id_folder + "\n");
    for (const std::string& fault : faults) Err("tarnwick: " + fault + "\n");
    machine->dmi_id = texts;
    machine->bytes = TableFromKernelDmiTexts(texts);
    return LoadBytes(machine);
  }
  // The plug-in tries and says why it does not load; then what to do.
  const int loaded = LoadReadableTable(sysfs, machine);
  if (loaded != 0) Err("tarnwick: cannot read " + tried + ": " + reason + "; " + WhatToDo() + "\n");
  return loaded;
}

CallResult CallOnMachine(const MachineTable& machine, std::string_view text, std::vector<std::string>* need_table) {
  if (!machine.dmi_id) return CallName(text);
  // Each call, nested ones too, as the folder can answer it.
  return CallName(text, [&machine, need_table](const ExportEntry& row, char16_t* buffer) {
    if (KernelDmiAnswersExactly(*machine.dmi_id, machine.dmi_id_unread, row, buffer)) return row.entry(buffer);
    if (need_table != nullptr) {
      need_table->push_back(EncodeUtf8(row.name));
    } else {
      RefuseNeedingTable(machine, {EncodeUtf8(row.name)});
    }
    return -1;
  });
}

std::string TableNotGiven(const MachineTable& machine) {
  return "the SMBIOS table, which " + machine.dmi_id_folder + " does not give" + (platform::RunsAsRoot() ? "" : "; run as root");
}

void RefuseNeedingTable(const MachineTable& machine, const std::vector<std::string>& names) {
  // Appended rather than " " + ...: g++ 12 at -O3 warns falsely (-Wrestrict) of the insert at the front.
  const std::string reason = std::string(" ").append(TableNotGiven(machine));
  if (names.size() == 1) return RefuseName(names[0], "needs" + reason);
  // The report's variables, named whole: they are the plug-in's, not a user's text to cut short.
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  Err("tarnwick: " + list + ": need" + reason + "\n");
}

}  // namespace tarnwick::cli
