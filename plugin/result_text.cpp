#include "plugin/result_text.h"

#include <bit>

namespace tarnwick {

void CopyResult(char16_t* out, const char16_t* text) {
  uint32_t i = 0;
  for (; i + 1 < kMaxArgLen && text[i] != 0; ++i) out[i] = text[i];
  out[i] = 0;
}

namespace {

// The digits of 0 to 99, two by two.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void PutPair(char16_t* out, uint32_t pair) {
  out[0] = static_cast<char16_t>(kDigitPairs[pair * 2]);
  out[1] = static_cast<char16_t>(kDigitPairs[pair * 2 + 1]);
}

// Exactly eight digits, leading zeros included, of a value below 10^8: four
// independent pairs, not a chain of divisions.
void PutEightDigits(char16_t* out, uint32_t value) {
  const uint32_t high = value / 10000;
  const uint32_t low = value % 10000;
  PutPair(out, high / 100);
  PutPair(out + 2, high % 100);
  PutPair(out + 4, low / 100);
  PutPair(out + 6, low % 100);
}

constexpr uint32_t kEightDigits = 100000000;

// The number of decimal digits of a value below 10^8, without a loop: the
// bit width gives log10 to within one (1233 / 4096 is just above log10 2),
// one comparison settles it. Setting bit 0 changes no digit count and
// makes 0 count one digit.
uint32_t ShortDecimalLength(uint32_t value) {
  constexpr uint32_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  const uint32_t odd = value | 1;
  const uint32_t guess = static_cast<uint32_t>(std::bit_width(odd)) * 1233 >> 12;
  return guess + (odd >= kPowersOfTen[guess] ? 1 : 0);
}

// The digits of a value below 10^8, without leading zeros; returns the count.
uint32_t PutShortDecimal(char16_t* out, uint32_t value) {
  const uint32_t count = ShortDecimalLength(value);
  uint32_t at = count;
  for (; value >= 100; value /= 100) {
    at -= 2;
    PutPair(out + at, value % 100);
  }
  if (value >= 10) {
    PutPair(out, value);
  } else {
    out[0] = static_cast<char16_t>(u'0' + value);
  }
  return count;
}

// Writes the decimal digits of `value` at `out`; returns the count. A 64-bit
// value has at most 20 digits: a leading part and up to two blocks of eight.
uint32_t PutDecimal(char16_t* out, uint64_t value) {
  if (value < kEightDigits) return PutShortDecimal(out, static_cast<uint32_t>(value));
  const uint32_t count = PutDecimal(out, value / kEightDigits);
  PutEightDigits(out + count, static_cast<uint32_t>(value % kEightDigits));
  return count + 8;
}

}  // namespace

void WriteDecimal(char16_t* out, uint64_t value) { out[PutDecimal(out, value)] = 0; }

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
