#include "smbios/structure_lookup.h"

#include <cstring>

#include "plugin/result_text.h"
#include "smbios/firmware_table.h"
#include "smbios/nul_scan.h"

namespace tarnwick {

const uint8_t* FindStructure(uint8_t type, int32_t handle) {
  const StructureIndex& index = g_structure_index;
  const uint32_t first = index.first_of_type[type];
  if (index.count == 0 || first == kNoStructure) return nullptr;
  if (handle < 0 || handle > 0xFFFF) return index.entries[first];
  // Type (byte 0) and handle (bytes 2 and 3) compared as one little-endian
  // word with the length byte masked out: one load per entry. Every indexed
  // structure holds at least its 4-byte header.
  const uint32_t wanted = type | static_cast<uint32_t>(handle) << 16;
  for (uint32_t i = first; i < index.count; ++i) {
    const uint8_t* structure = index.entries[i];
    uint32_t header;
    std::memcpy(&header, structure, sizeof header);
    if ((header & 0xFFFF00FFu) == wanted) return structure;
  }
  return nullptr;
}

int32_t GetStructureString(const uint8_t* structure, uint32_t offset, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  if (!NextStructure(structure, nullptr)) return kStringInvalid;
  const uint32_t length = structure[1];
  if (offset < 4 || offset >= length) return kStringBadOffset;

  CopyResult(out, kNotAvailable);
  const uint32_t number = structure[offset];
  if (number == 0) return kStringFound;

  // Strings are numbered from 1 in the order they follow the formatted area
  // (DSP0134 6.1.3). Every string passed is non-empty, so the walk stops at
  // the closing NUL pair that validation found inside the buffer.
  const uint8_t* table = g_firmware_table.buffer;
  const size_t size = g_firmware_table.size;
  size_t at = static_cast<size_t>(structure - table) + length;
  for (uint32_t n = 1;; ++n) {
    if (table[at] == 0) return kStringMissing;
    if (n == number) break;
    at = FindNul(table, at, size) + 1;
  }
  const size_t count = FindNul(table, at, size) - at;
  if (count >= kMaxArgLen) return kStringTooLong;
  const uint8_t* text = table + at;
  for (size_t i = 0; i < count; ++i) out[i] = text[i];
  out[count] = 0;
  return kStringFound;
}

}  // namespace tarnwick
