#include "smbios/structure_lookup.h"

#include <bit>
#include <cstring>

#include "host/result_text.h"
#include "smbios/firmware_table.h"

namespace tarnwick {

const uint8_t* FindStructure(uint8_t type, int32_t handle) {
  const StructureIndex& index = g_structure_index;
  const uint32_t first = index.first_of_type[type];
  if (index.count == 0 || first == kNoStructure) return nullptr;
  if (handle < 0 || handle > 0xFFFF) return index.entries[first];
  // Type at byte 0, handle at bytes 2-3 of every structure (DSP0134 6.1.2):
  // one read of the 4-byte header compares both. A table of 1024 structures
  // spills out of the first-level cache, so each visit costs a cache line.
  static_assert(std::endian::native == std::endian::little, "the header word's bytes are read little-endian");
  const uint32_t wanted = type | static_cast<uint32_t>(handle) << 16;
#pragma GCC unroll 4
  for (uint32_t i = first; i < index.count; ++i) {
    uint32_t header;
    std::memcpy(&header, index.entries[i], sizeof header);
    if ((header & 0xFFFF00FFu) == wanted) return index.entries[i];
  }
  return nullptr;
}

namespace {

// String `number` of a valid structure; "N/A" unless it is there.
int32_t ReadNumberedString(const uint8_t* structure, uint32_t number, char16_t* out) {
  WriteNotAvailable(out);
  if (number == 0) return kStringFound;
  // Strings are numbered from 1 in the order they follow the formatted area
  // (DSP0134 6.1.3). Every string passed is non-empty, so the walk stops at
  // the closing NUL pair, which validity places inside the table.
  const auto* at = reinterpret_cast<const char*>(structure + structure[1]);
  for (uint32_t n = 1; n < number; ++n) {
    if (*at == 0) return kStringMissing;
    at += std::strlen(at) + 1;
  }
  if (*at == 0) return kStringMissing;
  const size_t count = std::strlen(at);
  if (count >= kMaxArgLen) return kStringTooLong;
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(at[i]);
  out[count] = 0;
  return kStringFound;
}

}  // namespace

int32_t GetStructureString(const uint8_t* structure, uint32_t offset, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  if (!NextStructure(structure, nullptr)) return kStringInvalid;
  if (offset < 4 || offset >= structure[1]) return kStringBadOffset;
  return ReadNumberedString(structure, structure[offset], out);
}

int32_t GetNumberedString(const uint8_t* structure, uint32_t number, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  if (!NextStructure(structure, nullptr)) return kStringInvalid;
  return ReadNumberedString(structure, number, out);
}

}  // namespace tarnwick
