// A UUID field (DSP0134 7.2.1) as text, XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX,
// as Windows and dmidecode show it.
#pragma once

#include <cstdint>

#include "smbios/firmware_table.h"

namespace tarnwick {

inline constexpr uint32_t kUuidBytes = 16;
inline constexpr uint32_t kUuidTextLength = 36;

// All 00h: not set; all FFh: not present (DSP0134 7.2.1).
bool IsUnsetUuid(const uint8_t* bytes);

// Writes the 36 digits and dashes of the 16 `bytes` and a NUL, in the byte
// order of a table of `version`.
void WriteUuid(char16_t* out, const uint8_t* bytes, SmbiosVersion version);

}  // namespace tarnwick
