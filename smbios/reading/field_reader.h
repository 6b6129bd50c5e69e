// Checked reads of a structure's formatted area. Offsets count from the
// structure's first byte, as DSP0134 lists them; values are little-endian.
#pragma once

#include <cstdint>

namespace tarnwick {

// True and the value when bytes offset .. offset + width - 1 lie inside the
// formatted area (below the length byte); false otherwise.
inline bool ReadField(const uint8_t* structure, uint32_t offset, uint32_t width, uint64_t* value) {
  if (structure == nullptr || offset + width > structure[1]) return false;
  uint64_t result = 0;
  for (uint32_t i = width; i-- > 0;) result = (result << 8) | structure[offset + i];
  *value = result;
  return true;
}

}  // namespace tarnwick
