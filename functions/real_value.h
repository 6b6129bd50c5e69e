// What @smbreal's argument names, for a host that must know which variable
// decides its answer before it calls it.
#pragma once

#include "host/export_table.h"

namespace tarnwick {

// The _smb variable that `argument` names, its first argument as @smbreal
// splits it; null when it names none, which @smbreal refuses itself.
const ExportEntry* RealValueVariable(const char16_t* argument);

}  // namespace tarnwick
