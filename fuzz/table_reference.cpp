#include "fuzz/table_reference.h"

#include <cinttypes>
#include <cstddef>
#include <cstdio>

#include "fuzz/fuzz_require.h"
#include "host/host_interface.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick::fuzzing {

const uint8_t* StructureEnd(const uint8_t* s, const uint8_t* begin, const uint8_t* end) {
  if (s < begin || end - s < 2 || s[1] < 4) return nullptr;
  for (const uint8_t* p = s + s[1]; p + 1 < end; ++p) {
    if (p[0] == 0 && p[1] == 0) return p + 2;
  }
  return nullptr;
}

const uint8_t* FindIndexed(uint8_t type, std::optional<uint16_t> handle) {
  for (uint32_t i = 0; i < g_structure_index.count; ++i) {
    const uint8_t* s = g_structure_index.entries[i];
    if (s[0] == type && (!handle || (s[2] | (s[3] << 8)) == *handle)) return s;
  }
  return nullptr;
}

std::u16string ExpectedNumberedString(const uint8_t* s, uint32_t number) {
  if (s == nullptr || number == 0) return u"N/A";
  // Strings follow the formatted area, each ended by a NUL; an empty one
  // (a NUL where a string would begin) closes the set. Only whole structures
  // reach here, so the walk stays inside the closing NUL pair.
  const uint8_t* at = s + s[1];
  for (uint32_t n = 1; n < number && *at != 0; ++n) {
    while (*at != 0) ++at;
    ++at;
  }
  const uint8_t* nul = at;
  while (*nul != 0) ++nul;
  if (nul == at || nul - at >= static_cast<ptrdiff_t>(kMaxArgLen)) return u"N/A";
  return std::u16string(at, nul);  // one code unit per byte
}

std::optional<std::u16string> ExpectedString(const uint8_t* s, uint32_t offset) {
  if (s == nullptr || offset < 4 || offset >= s[1]) return std::nullopt;
  return ExpectedNumberedString(s, s[offset]);
}

std::u16string ExpectedField(const uint8_t* s, uint32_t offset, uint32_t width, bool hex) {
  if (s == nullptr || offset + width > s[1]) return u"N/A";
  uint64_t value = 0;
  for (uint32_t i = 0; i < width; ++i) value |= static_cast<uint64_t>(s[offset + i]) << (8 * i);
  return hex ? Hex(value, 2 * width) : Decimal(value);
}

namespace {
std::u16string Widen(const char* text) {
  std::u16string out;
  for (; *text != 0; ++text) out += static_cast<char16_t>(*text);
  return out;
}
}  // namespace

std::u16string Decimal(uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%" PRIu64, value);
  return Widen(text);
}

std::u16string Hex(uint64_t value, uint32_t digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*" PRIx64, static_cast<int>(digits), value);
  return Widen(text);
}

std::u16string_view TerminatedText(const char16_t* buffer) {
  for (uint32_t i = 0; i < kMaxArgLen; ++i) {
    if (buffer[i] == 0) return {buffer, i};
  }
  Violated("result text terminated within 8192 units", __FILE__, __LINE__);
}

}  // namespace tarnwick::fuzzing
