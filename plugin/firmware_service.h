// The machine's firmware-table service: Windows' own, located at run time;
// on Linux the same contract over the files in which the kernel exports the
// SMBIOS entry point and structure table, so that the loader sees one
// layout everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnwick {

platform::FirmwareTableFetch MachineFirmwareService();

// The entry point in front of the machine's table, as its bytes: the
// kernel's smbios_entry_point under `sysfs` (Linux); none on Windows, whose
// service gives the table behind a header of its own.
std::vector<uint8_t> KernelEntryPoint(const std::string& sysfs);

#if !defined(_WIN32)
// The service's contract over the files smbios_entry_point and DMI in
// `directory`: the table behind the header that its entry point gives, as
// for a dump (smbios/reading/entry_point.h). 0 when a file is missing or the entry
// point is none.
uint32_t ReadDmiTables(const std::string& directory, void* buffer, uint32_t buffer_size);
#endif

}  // namespace tarnwick
