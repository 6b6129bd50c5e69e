// Writers of the host's result buffer. Each bounds its writes by kMaxArgLen
// code units and always terminates the text.
#pragma once

#include <cstdint>

#include "host/host_interface.h"

namespace tarnwick {

inline constexpr const char16_t* kNotAvailable = u"N/A";

// Copies `text` (NUL-terminated) into `out`, truncating at kMaxArgLen - 1.
void CopyResult(char16_t* out, const char16_t* text);

inline void WriteNotAvailable(char16_t* out) { CopyResult(out, kNotAvailable); }

// "%u" / "%I64u": unsigned decimal without sign or leading zeros.
void WriteDecimal(char16_t* out, uint64_t value);

// "0x%02x" and its wider kin: "0x" and exactly `digits` lower-case digits.
void WriteHex(char16_t* out, uint64_t value, uint32_t digits);

// "%u.%u": two numbers as major.minor.
void WriteVersion(char16_t* out, uint32_t major, uint32_t minor);

// Whole-text comparison, character by character.
bool TextEquals(const char16_t* left, const char16_t* right);

}  // namespace tarnwick
