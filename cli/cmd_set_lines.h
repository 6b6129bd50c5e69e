// Values for cmd.exe: one `set "NAME=value"` line per NAME, so that a batch
// file sets them all from one run of tarnwick with
//   for /f "delims=" %%L in ('tarnwick.exe --cmd _smbserial _smbmfg') do %%L
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::cli {

// The line `set "NAME=value"` with its line feed; false, with the reason,
// when cmd.exe would not set the value as it is: a double quote ends the
// quoted text early, CR, LF and NUL end the line, Ctrl-Z ends the lines,
// "!" is consumed where delayed expansion is on, Wine's cmd.exe replaces
// "%A", "%B" and "%L" (also as "%~nA", "%~$PATH:A") by the loop's for
// variables, a line beyond 8190 bytes is lost with the rest of the loop,
// and "=" in NAME ends the name.
bool CmdSetLine(std::string_view name, std::string_view value, std::string* line, std::string* reason);

}  // namespace tarnwick::cli
