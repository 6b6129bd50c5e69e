// The table of a fictional machine, built here byte by byte, for hosts that
// have no SMBIOS table of their own to show (build machines, containers).
#pragma once

#include "platform/bytes.h"

namespace tarnwick {

// SMBIOS 3.1 in the firmware service's layout: BIOS, system, baseboard,
// chassis, processor, memory array with two devices and its mapping, boot
// status and the end-of-table structure.
Bytes SampleTable();

}  // namespace tarnwick
