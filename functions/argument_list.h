// Splitting a function's argument text and reading its numbers.
#pragma once

#include <cstdint>

#include "host/characters.h"
#include "host/host_interface.h"

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

// The run of digits of `base` from `at` on, accumulated in 64 bits. Past
// 0xFFFFFFFF the value is out of range whatever follows, and the rest of the
// run is only passed over.
template <uint32_t base, uint32_t (*digit_value)(char16_t)>
NumberScan ScanDigits(const char16_t* at) {
  uint64_t value = 0;
  for (uint32_t digit; (digit = digit_value(*at)) < base; ++at) {
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) {
      while (digit_value(*++at) < base) {
      }
      return {at, kNumberOutOfRange};
    }
  }
  return {at, value};
}

inline NumberScan ScanNumber(const char16_t* text) {
  if (!IsHexPrefix(text)) return ScanDigits<10, DecimalValue>(text);
  // Like the C library's conversion in base 16, one more "0x" may stand in
  // front of the digits: 0x0x1F reads as 31.
  const char16_t* at = text + 2;
  if (IsHexPrefix(at)) at += 2;
  return ScanDigits<16, HexValue>(at);
}

// Splits at commas outside double quotes; quotes are removed, a-z
// upper-cased, leading and trailing white space dropped. Returns the count,
// or -1 for a null text or after the store-overflow diagnostic.
int32_t SplitArguments(const char16_t* text);

// Decimal, or hexadecimal after "0x", 0 to 4294967295, with nothing before
// or after the digits. Returns 0 and the value, or -1 leaving it untouched.
int32_t ParseNumber(const char16_t* text, uint32_t* value);

}  // namespace tarnwick
