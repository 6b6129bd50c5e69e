// Bringing the plug-in up and down.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace tarnwick {

// The generator's seed from the UTC clock at load, in wrapping 32-bit
// arithmetic; year and weekday take no part.
uint32_t SeedFromTime(const platform::UtcTime& time);

}  // namespace tarnwick
