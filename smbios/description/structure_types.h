// The structure types of DSP0134 section 7 by number, and their names as the
// section titles give them.
#pragma once

#include <cstdint>

namespace tarnwick {

inline constexpr uint8_t kBiosType = 0;             // 7.1
inline constexpr uint8_t kSystemType = 1;           // 7.2
inline constexpr uint8_t kBaseboardType = 2;        // 7.3
inline constexpr uint8_t kChassisType = 3;          // 7.4
inline constexpr uint8_t kProcessorType = 4;        // 7.5
inline constexpr uint8_t kOemStringsType = 11;      // 7.12
inline constexpr uint8_t kMemoryDeviceType = 17;    // 7.18
inline constexpr uint8_t kEndOfTableType = 127;     // 7.45

// The DSP0134 name of `type` ("System Information"); null for a type that
// DSP0134 does not define (the OEM types from 128 on included).
const char* StructureTypeName(uint8_t type);

// The same, and for the types it leaves unnamed what they are:
// "OEM-specific" from 128 on, else "Unknown".
const char* StructureTypeNameOrKind(uint8_t type);

}  // namespace tarnwick
