// Puts a firmware-table service of the test's choosing in front of the
// plug-in, so that the real DLL meets any table and every way the service
// fails, not only the table Wine builds.
#pragma once

#include <windows.h>

#include <string_view>

namespace tarnwick::wine {

// Answers the plug-in's lookup of GetSystemFirmwareTable in place of the
// system. `how` is one of:
//   missing   the lookup finds no service
//   empty     the size query returns 0: no table
//   failing   the size query answers 64, the fetch returns 0
//   FILE      the service hands out FILE's bytes as the 'RSMB' table 0
// False when FILE cannot be read or the lookup cannot be redirected.
bool ServeFirmware(HMODULE plugin, const wchar_t* how);

}  // namespace tarnwick::wine
