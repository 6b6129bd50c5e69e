// Writers of the host's result buffer. Each bounds its writes by kMaxArgLen
// code units and always terminates the text.
#pragma once

#include <cstdint>

#include "plugin/host_interface.h"

namespace tarnwick {

inline constexpr const char16_t* kNotAvailable = u"N/A";

// Writes "N/A": four code units, no copy loop, on the paths of every
// variable and function.
inline void WriteNotAvailable(char16_t* out) {
  out[0] = u'N';
  out[1] = u'/';
  out[2] = u'A';
  out[3] = 0;
}

// Copies `text` (NUL-terminated) into `out`, truncating at kMaxArgLen - 1.
void CopyResult(char16_t* out, const char16_t* text);

// "%u" / "%I64u": unsigned decimal without sign or leading zeros.
void WriteDecimal(char16_t* out, uint64_t value);

// "0x%02x" and its wider kin: "0x" and exactly `digits` lower-case digits.
// Inline: the callers' digit counts are constants.
inline void WriteHex(char16_t* out, uint64_t value, uint32_t digits) {
  out[0] = u'0';
  out[1] = u'x';
  for (uint32_t i = 0; i < digits; ++i) {
    out[2 + digits - 1 - i] = u"0123456789abcdef"[value & 0xF];
    value >>= 4;
  }
  out[2 + digits] = 0;
}

// "%u.%u": two bytes as major.minor.
void WriteVersion(char16_t* out, uint32_t major, uint32_t minor);

// Whole-text comparison, character by character.
bool TextEquals(const char16_t* left, const char16_t* right);

}  // namespace tarnwick
