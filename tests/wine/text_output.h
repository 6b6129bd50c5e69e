// Text out of the stand-ins, as a console program on Windows must write it.
#pragma once

#include <windows.h>

#include <string_view>

namespace tarnwick::wine {

// A console shows UTF-16 through WriteConsoleW; a pipe or a file gets UTF-8
// through WriteFile, unbuffered, so that the plug-in's writes and the host's
// stay in the order they were made.
void WriteText(HANDLE handle, std::u16string_view text);

void WriteOut(std::u16string_view text);
void WriteError(std::u16string_view text);

}  // namespace tarnwick::wine
