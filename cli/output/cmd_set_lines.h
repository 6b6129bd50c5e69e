// Values for cmd.exe: one `set "NAME=value"` line per NAME, so that a batch
// file sets them all from one run of tarnwick with
//   for /f "delims=" %%L in ('tarnwick.exe --cmd _smbserial _smbmfg') do %%L
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::cli {

// The line `set "NAME=value"` with its line feed; false, with the reason,
// when NAME or the value holds a character outside the few that pass
// cmd.exe's for /f and set unchanged (kCmdCharacters), or the line is
// longer than cmd.exe runs.
bool CmdSetLine(std::string_view name, std::string_view value, std::string* line, std::string* reason);

// What a value may hold besides ASCII letters and digits: the characters
// that pass `for /f ... do set %%B` unchanged with and without delayed
// expansion, through Wine's cmd.exe (tests/wine/cmd_checks.sh runs every
// character 01h-FFh), and by real cmd.exe's documented rules
// (docs/cmd-values.md). A NAME may hold them too, but for "=".
inline constexpr std::string_view kCmdCharacters = " #$&'()*+,-./:;<=>?@[\\]^_`{|}~";

}  // namespace tarnwick::cli
