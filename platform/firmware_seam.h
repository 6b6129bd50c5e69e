// Lets tests and the command-line host stand in for the firmware-table
// service. Not exported from the plug-in library.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace tarnwick::platform {

// While installed, LocateFirmwareService returns `fetch` (null: "no service").
void InstallFirmwareSource(FirmwareTableFetch fetch);
void RemoveFirmwareSource();

// Serves a copy-free view of `bytes` through the service's contract. The bytes
// must outlive every load that uses them.
void InstallMemoryFirmware(const uint8_t* bytes, uint32_t size);

// Linux: reads the entry point and table from `directory` instead of
// /sys/firmware/dmi/tables (null restores it).
void SetDmiTablesDirectory(const char* directory);

// Makes the next table allocations fail (tests of the allocation failure path).
void FailTableAllocations(bool fail);

}  // namespace tarnwick::platform
