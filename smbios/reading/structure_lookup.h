// Read-only queries over the indexed table.
#pragma once

#include <cstdint>

namespace tarnwick {

// The handle that FindStructure takes as any handle; so does every other
// handle outside 0..0xFFFF.
inline constexpr int32_t kAnyHandle = -1;

// The first indexed structure of `type` (in table order) whose handle equals
// `handle`, or of any handle (above). Null when none matches.
const uint8_t* FindStructure(uint8_t type, int32_t handle);

enum StringResult : int32_t {
  kStringNoInput = -1,   // no structure or no buffer: nothing written
  kStringFound = 0,      // the string, or "N/A" for string number 0
  kStringInvalid = 1,    // the structure is not valid: nothing written
  kStringBadOffset = 2,  // offset outside the formatted area: nothing written
  kStringMissing = 3,    // fewer strings than the number: "N/A"
  kStringTooLong = 4,    // 8192 bytes or more: "N/A"
};

// Writes the string that the string-number byte at `offset` selects into
// `out`, one code unit per byte (bytes 80h-FFh become U+0080-U+00FF).
int32_t GetStructureString(const uint8_t* structure, uint32_t offset, char16_t* out);

// String `number` of a structure's string-set, as GetStructureString writes
// it: "N/A" for number 0 or past the last string; results as above.
int32_t GetNumberedString(const uint8_t* structure, uint32_t number, char16_t* out);

}  // namespace tarnwick
