// The chassis types that DSP0134 7.4.1 defines: 01h (Other) to 24h (Stick
// PC), in bits 6-0 of the chassis Type byte; bit 7 is the chassis lock.
#pragma once

#include <cstdint>

namespace tarnwick {

inline constexpr uint8_t kLastChassisType = 0x24;

}  // namespace tarnwick
