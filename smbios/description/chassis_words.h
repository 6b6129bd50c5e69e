// DSP0134 7.4.1: the chassis types, in bits 6-0 of the System Enclosure or
// Chassis structure's Type byte. Its own file, for the plug-in's chassis
// variables read it without the rest of the description.
#pragma once

#include "smbios/description/field_row.h"

namespace tarnwick {

extern const Word kChassisTypeWords[36];

// The word for chassis type `type` (the lock bit cleared); null for a value
// DSP0134 does not define.
const char* ChassisTypeWord(uint8_t type);

}  // namespace tarnwick
