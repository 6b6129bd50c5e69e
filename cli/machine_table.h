// The machine's own table for the plug-in and, on Linux without root, the
// files of /sys/class/dmi/id in its place; messages that say which.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/dmi_id.h"
#include "cli/name_call.h"

namespace tarnwick::cli {

struct MachineTable {
  std::vector<uint8_t> bytes;       // what tarnwick read or built for the plug-in
  std::string dmi_id_folder;        // `sysfs`/class/dmi/id
  std::optional<KernelDmiTexts> dmi_id;  // set when the answers come from that folder
  KernelDmiUnread dmi_id_unread{};       // its files that cannot be read or are at fault
};

// Loads the plug-in with the machine's table under `sysfs`. When the table
// cannot be read and the folder of DMI files can, with the table built from
// the files, saying so on standard error. When neither can, the plug-in's
// own two lines and one of tarnwick's: what it tried, the system's reason,
// what to do. InitializePlugin's result.
int LoadMachineTable(const std::string& sysfs, MachineTable* machine);

// CallName, but a name that the folder of DMI files cannot answer exactly,
// when the answers come from it, fails with a word on what it needs: at
// once, or, given `need_table`, added there for one word on them all.
CallResult CallOnMachine(const MachineTable& machine, std::string_view text,
                         std::vector<std::string>* need_table = nullptr);

// "the SMBIOS table, which FOLDER does not give; run as root", the advice
// only to a user who is not root.
std::string TableNotGiven(const MachineTable& machine);

// "tarnwick: A, B: need " and TableNotGiven.
void RefuseNeedingTable(const MachineTable& machine, const std::vector<std::string>& names);

}  // namespace tarnwick::cli
