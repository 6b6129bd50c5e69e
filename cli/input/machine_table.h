// The machine's own table for the plug-in and, on Linux without root, the
// files of /sys/class/dmi/id and the memory devices of udev's database in
// its place; messages that say which.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/input/dmi_id.h"
#include "cli/names/name_call.h"
#include "cli/input/udev_memory.h"
#include "smbios/model/table_model.h"

namespace tarnwick::cli {

struct MachineTable {
  std::vector<uint8_t> bytes;       // what tarnwick read or built for the plug-in
  std::string dmi_id_folder;        // `sysfs`/class/dmi/id
  std::optional<KernelDmiTexts> dmi_id;  // set when the answers come from that folder
  KernelDmiUnread dmi_id_unread{};       // its files that cannot be read or are at fault
  UdevMemoryDevices memory;              // udev's memory devices, when they stand in too
  std::string sources;                   // where the answers come from, when not the table
  bool root_would_help = false;          // the table is there, and only root may read it
};

// Loads the plug-in with the machine's table under `sysfs`. When the table
// cannot be read, with the table built from the folder of DMI files and
// the memory devices in udev's database folder `udev_data` (none when
// empty), where they give anything, saying so in one line on standard
// error. When nothing answers, one line: there is no table, or what could
// not be read and why, and what to do. InitializePlugin's result.
int LoadMachineTable(const std::string& sysfs, const std::string& udev_data, MachineTable* machine);

// CallName, but a name that the folder of DMI files cannot answer exactly,
// when the answers come from it, fails with a word on what it needs: at
// once, or, given `need_table`, added there for one word on them all.
CallResult CallOnMachine(const MachineTable& machine, std::string_view text,
                         std::vector<std::string>* need_table = nullptr);

// "the SMBIOS table, which FOLDER does not give; run as root" (or "which
// FOLDER and FILE do not give"), the advice only where the table is there
// for root alone and the user is not root.
std::string TableNotGiven(const MachineTable& machine);

// True when --list of `types` lists only what the source gives: the memory
// devices udev keeps (type 17), as udev keeps them (their strings stripped,
// handles from FF00h on).
bool ListsFromSource(const MachineTable& machine, std::span<const uint8_t> types);

// For --decode of `model`, the table built from the source: whether the
// field at `offset` of a memory device is one that udev's properties give.
// The other fields hold bytes that tarnwick chose, which no one gave.
std::function<bool(const Structure&, uint32_t offset)> FieldsFromSource(const MachineTable& machine,
                                                                       const TableModel& model);

// "tarnwick: A, B: need " and TableNotGiven.
void RefuseNeedingTable(const MachineTable& machine, const std::vector<std::string>& names);

}  // namespace tarnwick::cli
