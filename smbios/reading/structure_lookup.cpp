#include "smbios/reading/structure_lookup.h"

#include "host/result_text.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/string_set.h"

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

// String `number` of the valid structure of `size` bytes at `structure`;
// "N/A" unless it is there.
int32_t ReadNumberedString(const uint8_t* structure, size_t size, uint32_t number, char16_t* out) {
  WriteNotAvailable(out);
  if (number == 0) return kStringFound;
  const uint8_t* at = structure + structure[1];
  std::string_view text = StringAt(at, structure + size);
  for (uint32_t n = 1; n < number && !text.empty(); ++n) {
    at += text.size() + 1;
    text = StringAt(at, structure + size);
  }
  if (text.empty()) return kStringMissing;
  if (text.size() >= kMaxArgLen) return kStringTooLong;
  for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<uint8_t>(text[i]);
  out[text.size()] = 0;
  return kStringFound;
}

}  // namespace

int32_t GetStructureString(const uint8_t* structure, uint32_t offset, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  const size_t size = StructureSize(structure);
  if (size == 0) return kStringInvalid;
  if (offset < 4 || offset >= structure[1]) return kStringBadOffset;
  return ReadNumberedString(structure, size, structure[offset], out);
}

int32_t GetNumberedString(const uint8_t* structure, uint32_t number, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  const size_t size = StructureSize(structure);
  if (size == 0) return kStringInvalid;
  return ReadNumberedString(structure, size, number, out);
}

}  // namespace tarnwick
