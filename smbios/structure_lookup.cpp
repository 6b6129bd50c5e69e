#include "smbios/structure_lookup.h"

#include <cstring>

#include "host/result_text.h"
#include "smbios/firmware_table.h"
#include "smbios/table_model.h"

namespace tarnwick {

const uint8_t* FindStructure(uint8_t type, int32_t handle) {
  const StructureIndex& index = g_structure_index;
  const uint32_t first = index.first_of_type[type];
  if (index.count == 0 || first == kNoStructure) return nullptr;
  if (handle < 0 || handle > 0xFFFF) return index.entries[first];
  for (uint32_t i = first; i < index.count; ++i) {
    const uint8_t* structure = index.entries[i];
    if (StructureHandle(structure) == handle && structure[0] == type) return structure;
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
