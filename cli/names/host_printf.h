// The formatting behind the host's Printf and Qprintf, as tarnwick's own
// host does it (and the tests' and fuzzers' stand-in hosts): formats as the
// shell reads them (%s a UTF-16 text, %d and %u 32-bit integers, %% a
// percent sign).
#pragma once

#include <cstdarg>
#include <string>

namespace tarnwick::cli {

std::u16string FormatHostPrintf(const char16_t* format, va_list arguments);

}  // namespace tarnwick::cli
