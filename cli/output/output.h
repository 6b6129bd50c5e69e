// Standard output and standard error of the host, in UTF-8. Output is
// buffered and goes out before anything is written to standard error, so
// that the two keep their order on a shared terminal. Every write is
// checked: one that fails ends tarnwick with "tarnwick: write error: ..."
// and status 2; a reader that goes away ends it quietly with status 2.
#pragma once

#include <string_view>

namespace tarnwick::cli {

inline constexpr int kWriteFailed = 2;

void Out(std::string_view text);
void Err(std::string_view text);
// Writes to a handle the plug-in passed to Qprintf.
void WriteToHandle(void* handle, std::string_view text);
void FlushOutput();

}  // namespace tarnwick::cli
