// Points one entry of a loaded module's import address table elsewhere, so
// that the stand-in host sees what the plug-in hands to a system service.
#pragma once

#include <windows.h>

namespace tarnwick::wine {

// True when `module` imports `function` by name from `dll` and the entry now
// holds `replacement`.
bool RedirectImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace tarnwick::wine
