// Splitting a function's argument text and reading its numbers.
#pragma once

#include <cstdint>

#include "plugin/host_interface.h"

namespace tarnwick {

inline constexpr int32_t kMaxArguments = 1024;

// One static scratch list, rewritten by every split. Texts live in `store`,
// never in the host's buffer, so the caller may overwrite that buffer while
// it still reads them.
struct ArgumentList {
  const char16_t* texts[kMaxArguments];  // null: the argument got no character
  int32_t lengths[kMaxArguments];        // 0: absent
  int32_t count;
  char16_t store[kMaxArgLen];
};

extern ArgumentList g_arguments;

// Character classes of argument texts.
bool IsWhiteSpace(char16_t c);
char16_t UpperCase(char16_t c);  // a-z only

// Digit values; 10 or 16 and more: no such digit. Setting bit 5 maps "A"-"F"
// onto "a"-"f" and nothing else onto them.
inline uint32_t DecimalValue(char16_t c) { return static_cast<uint32_t>(c) - u'0'; }
inline uint32_t HexValue(char16_t c) {
  if (DecimalValue(c) < 10) return DecimalValue(c);
  const uint32_t lower = static_cast<uint32_t>(c | 0x20) - u'a';
  return lower < 6 ? lower + 10 : 16;
}

// "0x" or "0X" followed by a hexadecimal digit.
inline bool IsHexPrefix(const char16_t* text) {
  return text[0] == u'0' && (text[1] | 0x20) == u'x' && HexValue(text[2]) < 16;
}

// The number at the start of a text as ParseNumber reads it: the longest
// run of digits, decimal, or hexadecimal behind "0x". `stop` is where the run
// ends (the text itself when it does not begin with a digit); `value` holds
// it, or kNumberOutOfRange for any value above 0xFFFFFFFF.
inline constexpr uint64_t kNumberOutOfRange = 0x100000000u;
struct NumberScan {
  const char16_t* stop;
  uint64_t value;
};

inline NumberScan ScanNumber(const char16_t* text) {
  // Digits accumulate in 64 bits and stick at kNumberOutOfRange once past
  // 0xFFFFFFFF, so that no run of digits wraps round.
  uint64_t value = 0;
  const char16_t* at = text;
  if (IsHexPrefix(at)) {
    at += 2;
    // Like the C library's conversion in base 16, one more "0x" may stand
    // in front of the digits: 0x0x1F reads as 31.
    if (IsHexPrefix(at)) at += 2;
    for (uint32_t digit; (digit = HexValue(*at)) < 16; ++at) {
      value = value << 4 | digit;
      if (value > kNumberOutOfRange) value = kNumberOutOfRange;
    }
  } else {
    for (uint32_t digit; (digit = DecimalValue(*at)) < 10; ++at) {
      value = value * 10 + digit;
      if (value > kNumberOutOfRange) value = kNumberOutOfRange;
    }
  }
  return {at, value};
}

// Splits at commas outside double quotes; quotes are removed, a-z
// upper-cased, leading and trailing white space dropped. Returns the count,
// or -1 for a null text or after the store-overflow diagnostic.
int32_t SplitArguments(const char16_t* text);

// Decimal, or hexadecimal after "0x", 0 to 4294967295, with nothing before
// or after the digits. Returns 0 and the value, or -1 leaving it untouched.
int32_t ParseNumber(const char16_t* text, uint32_t* value);

}  // namespace tarnwick
