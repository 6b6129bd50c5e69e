// Bringing the plug-in up and down.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace tarnwick {

// The generator's seed from the UTC clock at load, in wrapping 32-bit
// arithmetic; year and weekday take no part.
uint32_t SeedFromTime(const platform::UtcTime& time);

// Where InitializePlugin takes the table from: the firmware-table service
// (null where the system has none) and the allocation of the one buffer.
struct FirmwareSource {
  platform::FirmwareTableFetch fetch;
  void* (*allocate)(size_t size);
};

// InitializePlugin with the table that `source` serves: fetch, load, the
// banner and the seed; on failure the load's diagnostic, "Plugin not
// loaded." and -1. The export passes the machine's service and malloc.
int InitializeFrom(const FirmwareSource& source);

// The same for a table the caller already holds, in the service's layout or
// bare (hosts that read a file). The bytes must outlive the plug-in's use.
int InitializeWithTable(const uint8_t* bytes, uint32_t size);

}  // namespace tarnwick
