// A UUID field (DSP0134 7.2.1) as text, XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX,
// as Windows and dmidecode show it.
#pragma once

#include <cstdint>
#include <string_view>

#include "smbios/reading/firmware_table.h"

namespace tarnwick {

inline constexpr uint32_t kUuidBytes = 16;
inline constexpr uint32_t kUuidTextLength = 36;

// All 00h: not set; all FFh: not present (DSP0134 7.2.1).
bool IsUnsetUuid(const uint8_t* bytes);

// The byte of each pair of digits, in the order written, when the first
// three fields are stored little-endian (DSP0134 2.6 on).
inline constexpr uint8_t kLittleEndianUuidOrder[kUuidBytes] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

// Reads text written XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX, digits of either
// case, into its bytes in the order written; false when the text is none.
bool ReadUuidText(std::string_view text, uint8_t* bytes);
bool ReadUuidText(std::u16string_view text, uint8_t* bytes);

// Writes the 36 digits and dashes of the 16 `bytes` and a NUL, in the byte
// order of a table of `version`.
void WriteUuid(char16_t* out, const uint8_t* bytes, SmbiosVersion version);

}  // namespace tarnwick
