// DSP0134's words for the Memory Device structure's Form Factor (7.18.1)
// and Memory Type (7.18.2), by value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarnwick {

// Index 0 and the reserved values: no word.
inline constexpr const char* kMemoryFormFactorWords[] = {
    "", "Other", "Unknown", "SIMM", "SIP", "Chip", "DIP", "ZIP",                       // 00h-07h
    "Proprietary Card", "DIMM", "TSOP", "Row of chips", "RIMM", "SODIMM", "SRIMM",    // 08h-0Eh
    "FB-DIMM", "Die", "CAMM",                                                          // 0Fh-11h
};

inline constexpr const char* kMemoryTypeWords[] = {
    "", "Other", "Unknown", "DRAM", "EDRAM", "VRAM", "SRAM", "RAM",                    // 00h-07h
    "ROM", "FLASH", "EEPROM", "FEPROM", "EPROM", "CDRAM", "3DRAM", "SDRAM",            // 08h-0Fh
    "SGRAM", "RDRAM", "DDR", "DDR2", "DDR2 FB-DIMM", "", "", "",                       // 10h-17h
    "DDR3", "FBD2", "DDR4", "LPDDR", "LPDDR2", "LPDDR3", "LPDDR4",                     // 18h-1Eh
    "Logical non-volatile device", "HBM", "HBM2", "DDR5", "LPDDR5", "HBM3",            // 1Fh-24h
};

// The word for `value`; empty for a value DSP0134 does not define.
template <size_t N>
std::string_view WordOf(const char* const (&words)[N], uint8_t value) {
  return value < N ? words[value] : "";
}

}  // namespace tarnwick
