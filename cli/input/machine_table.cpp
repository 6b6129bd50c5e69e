#include "cli/input/machine_table.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "cli/names/name_message.h"
#include "cli/output/output.h"
#include "cli/names/utf8_utf16.h"
#include "host/export_table.h"
#include "host/exports.h"
#include "platform/system.h"
#include "plugin/firmware_service.h"
#include "plugin/lifecycle.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/description/structure_types.h"

namespace tarnwick::cli {
namespace {

// Root, and any user on Windows, may read the table: running as root helps
// only a user who is not, where the table is there.
std::string WhatToDo(bool root_would_help) {
  return std::string(root_would_help ? "run as root, or " : "") + "use --sample or --from-dump FILE";
}

// True when the table's file is there (Linux): a user who cannot read it
// meets the kernel's mode 0400, not a machine without SMBIOS.
bool TableFileThere([[maybe_unused]] const std::string& tried) {
#if defined(_WIN32)
  return true;
#else
  std::error_code status;
  return std::filesystem::exists(tried, status);
#endif
}

bool AnyText(const KernelDmiTexts& texts) {
  return std::any_of(texts.begin(), texts.end(), [](const auto& text) { return text.has_value(); });
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

int LoadMachineTable(const std::string& sysfs, const std::string& udev_data, MachineTable* machine) {
  std::string tried, reason;
  if (platform::ProbeMachineTable(sysfs, &tried, &reason)) return LoadReadableTable(sysfs, machine);
  const bool there = TableFileThere(tried);
  machine->root_would_help = there && !platform::RunsAsRoot();
  machine->dmi_id_folder = platform::DmiIdFolder(sysfs);
  KernelDmiTexts texts;
  std::string no_folder;  // no folder: no word about it, the table is what is missing
  std::vector<std::string> faults;
  const bool folder = ReadDmiIdFolder(machine->dmi_id_folder, &texts, &machine->dmi_id_unread, &faults, &no_folder);
  machine->memory = ReadUdevMemoryDevices(udev_data);
  // A folder that holds no file (some containers) answers nothing: no source.
  if (folder && AnyText(texts)) machine->sources = machine->dmi_id_folder;
  if (!machine->memory.empty()) {
    machine->sources += (machine->sources.empty() ? "" : " and ") + UdevDmiIdFile(udev_data);
  }
  const std::string cannot =
      there ? "cannot read " + tried + ": " + reason : "no SMBIOS table: " + tried + " does not exist";
  if (machine->sources.empty()) {
    // Its files that are there but cannot be read, each with why, before the one word on them all.
    for (const std::string& fault : faults) Err("tarnwick: " + fault + "\n");
    const bool none = std::none_of(machine->dmi_id_unread.begin(), machine->dmi_id_unread.end(), std::identity());
    const std::string empty =
        !folder ? "" : ", and " + machine->dmi_id_folder + (none ? " holds no file" : " gives nothing readable");
    Err("tarnwick: " + cannot + empty + "; " + WhatToDo(machine->root_would_help) + "\n");
    return -1;
  }
  Err("tarnwick: " + cannot + "; answers come from " + machine->sources + "\n");
  for (const std::string& fault : faults) Err("tarnwick: " + fault + "\n");
  machine->dmi_id = texts;
  machine->bytes = TableFromKernelDmiTexts(texts, UdevMemoryDeviceStructures(machine->memory));
  return LoadBytes(machine);
}

CallResult CallOnMachine(const MachineTable& machine, std::string_view text, std::vector<std::string>* need_table) {
  if (!machine.dmi_id) return CallName(text);
  // Each call, nested ones too, as the folder can answer it.
  return CallName(text, [&machine, need_table](const ExportEntry& row, char16_t* buffer) {
    if (KernelDmiAnswersExactly(*machine.dmi_id, machine.dmi_id_unread, machine.memory, row, buffer)) {
      return row.entry(buffer);
    }
    if (need_table != nullptr) {
      need_table->push_back(EncodeUtf8(row.name));
    } else {
      RefuseNeedingTable(machine, {EncodeUtf8(row.name)});
    }
    return -1;
  });
}

std::string TableNotGiven(const MachineTable& machine) {
  const bool one = machine.sources.find(" and ") == std::string::npos;
  return "the SMBIOS table, which " + machine.sources + (one ? " does" : " do") + " not give" +
         (machine.root_would_help ? "; run as root" : "");
}

bool ListsFromSource(const MachineTable& machine, std::span<const uint8_t> types) {
  return !machine.memory.empty() && !types.empty() &&
         std::all_of(types.begin(), types.end(), [](uint8_t type) { return type == kMemoryDeviceType; });
}

std::function<bool(const Structure&, uint32_t)> FieldsFromSource(const MachineTable& machine,
                                                                 const TableModel& model) {
  // The built table's memory devices are the devices with properties, in order.
  std::map<uint32_t, std::vector<uint32_t>> given;  // by the structure's position
  const std::vector<std::vector<uint32_t>> fields = UdevMemoryFieldsGiven(machine.memory);
  size_t next = 0;
  for (const Structure& structure : model.structures) {
    if (structure.type == kMemoryDeviceType && next < fields.size()) given[structure.position] = fields[next++];
  }
  return [given = std::move(given)](const Structure& structure, uint32_t offset) {
    const auto found = given.find(structure.position);
    return found != given.end() && std::binary_search(found->second.begin(), found->second.end(), offset);
  };
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
