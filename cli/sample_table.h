// The table of a fictional machine, built here byte by byte, for hosts that
// have no SMBIOS table of their own to show (build machines, containers).
#pragma once

#include <cstdint>
#include <vector>

namespace tarnwick::cli {

// SMBIOS 3.1 in the firmware service's layout: BIOS, system, baseboard,
// chassis, processor, memory array with two devices and its mapping, boot
// status and the end-of-table structure.
std::vector<uint8_t> SampleTable();

}  // namespace tarnwick::cli
