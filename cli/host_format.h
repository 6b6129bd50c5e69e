// The host's side of its formatting services: formats as the shell reads
// them (%s a UTF-16 text, %d and %u 32-bit integers, %% a percent sign).
#pragma once

#include <cstdarg>
#include <string>

namespace tarnwick::host {

std::u16string FormatHostText(const char16_t* format, va_list arguments);

}  // namespace tarnwick::host
