// tarnwick --real: each variable answered through the placeholder rule that
// @smbreal applies (smbios/reading/placeholders.h).
#pragma once

#include <string_view>

#include "cli/input/machine_table.h"

namespace tarnwick::cli {

// CallOnMachine(machine, text, need_table); with `real`, a variable whose
// value is a firmware placeholder answers "N/A", as @smbreal[text] does.
CallResult CallAnswer(const MachineTable& machine, std::string_view text, bool real,
                      std::vector<std::string>* need_table = nullptr);

}  // namespace tarnwick::cli
