#include "host/result_text.h"

namespace tarnwick {

void CopyResult(char16_t* out, const char16_t* text) {
  uint32_t i = 0;
  for (; i + 1 < kMaxArgLen && text[i] != 0; ++i) out[i] = text[i];
  out[i] = 0;
}

namespace {

// Writes the decimal digits of `value` at `out` (a 64-bit value has at most
// 20); returns their count.
uint32_t PutDecimal(char16_t* out, uint64_t value) {
  char16_t reversed[20];
  uint32_t count = 0;
  do {
    reversed[count++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (uint32_t i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
  return count;
}

}  // namespace

void WriteDecimal(char16_t* out, uint64_t value) { out[PutDecimal(out, value)] = 0; }

void WriteHex(char16_t* out, uint64_t value, uint32_t digits) {
  out[0] = u'0';
  out[1] = u'x';
  for (uint32_t i = 0; i < digits; ++i) out[2 + digits - 1 - i] = u"0123456789abcdef"[(value >> (4 * i)) & 0xF];
  out[2 + digits] = 0;
}

void WriteVersion(char16_t* out, uint32_t major, uint32_t minor) {
  uint32_t at = PutDecimal(out, major);
  out[at++] = u'.';
  at += PutDecimal(out + at, minor);
  out[at] = 0;
}

bool TextEquals(const char16_t* left, const char16_t* right) {
  while (*left != 0 && *left == *right) {
    ++left;
    ++right;
  }
  return *left == *right;
}

}  // namespace tarnwick
