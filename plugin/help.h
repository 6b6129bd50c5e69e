// Help on the plug-in's names, shown when the user asks the host for it.
#pragma once

#include "plugin/export_table.h"

namespace tarnwick {

// The row whose name equals `name`, ignoring the case of A-Z and a-z only;
// null if none.
const ExportEntry* FindHelp(const char16_t* name);

}  // namespace tarnwick
