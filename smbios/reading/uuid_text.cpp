#include "smbios/reading/uuid_text.h"

#include <type_traits>

namespace tarnwick {
namespace {

// DSP0134 7.2.1: from version 2.6 on, the first three fields (time_low,
// time_mid, time_hi_and_version) are stored little-endian; before, as read.
// A table of unknown version (a bare table) is taken as current.
bool FieldsAreLittleEndian(SmbiosVersion stated) {
  if (stated.major < 2 || stated.major > 10) return true;
  const SmbiosVersion version = EffectiveVersion(stated);
  return version.major > 2 || version.minor >= 6;
}

// A hexadecimal digit's value; 16 for any other unit.
constexpr uint32_t HexValue(uint32_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  c |= 0x20;  // lower case
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : 16;
}

template <class Char>
bool ReadUuidUnits(std::basic_string_view<Char> text, uint8_t* bytes) {
  if (text.size() != kUuidTextLength) return false;
  size_t at = 0;
  for (size_t byte = 0; byte < kUuidBytes; ++byte, at += 2) {
    if ((byte == 4 || byte == 6 || byte == 8 || byte == 10) && text[at++] != '-') return false;
    const uint32_t high = HexValue(static_cast<std::make_unsigned_t<Char>>(text[at]));
    const uint32_t low = HexValue(static_cast<std::make_unsigned_t<Char>>(text[at + 1]));
    if (high > 0xF || low > 0xF) return false;
    bytes[byte] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

}  // namespace

bool ReadUuidText(std::string_view text, uint8_t* bytes) { return ReadUuidUnits(text, bytes); }

bool ReadUuidText(std::u16string_view text, uint8_t* bytes) { return ReadUuidUnits(text, bytes); }

bool IsUnsetUuid(const uint8_t* bytes) {
  bool all_zero = true;
  bool all_ones = true;
  for (uint32_t i = 0; i < kUuidBytes; ++i) {
    all_zero = all_zero && bytes[i] == 0x00;
    all_ones = all_ones && bytes[i] == 0xFF;
  }
  return all_zero || all_ones;
}

void WriteUuid(char16_t* out, const uint8_t* bytes, SmbiosVersion version) {
  // Byte positions in the order their digits are written.
  static constexpr uint8_t kAsStored[kUuidBytes] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  const uint8_t* order = FieldsAreLittleEndian(version) ? kLittleEndianUuidOrder : kAsStored;
  uint32_t at = 0;
  for (uint32_t i = 0; i < kUuidBytes; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out[at++] = u'-';
    out[at++] = u"0123456789ABCDEF"[bytes[order[i]] >> 4];
    out[at++] = u"0123456789ABCDEF"[bytes[order[i]] & 0xF];
  }
  out[at] = 0;
}

}  // namespace tarnwick
