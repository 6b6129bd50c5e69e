// Writing a structure table: structures (DSP0134 6.1.2) one after another,
// the end-of-table structure, and the firmware service's header in front.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.h"
#include "smbios/reading/entry_point.h"

namespace tarnwick {

// Appends a structure of `type` and `handle` whose formatted area holds
// `formatted` from offset 4 on (the length byte follows from it), then the
// strings, each NUL-terminated, and the NUL that ends the set.
void AppendStructure(Bytes& table, uint8_t type, uint16_t handle, const Bytes& formatted,
                     const std::vector<std::string>& strings);

// Appends the end-of-table structure (DSP0134 7.45): 4 bytes and an empty set.
void AppendEndOfTable(Bytes& table, uint16_t handle);

// `table` behind the service header that gives SMBIOS `major`.`minor`, DMI
// `revision` and the table's length.
Bytes InServiceLayout(uint8_t major, uint8_t minor, uint8_t revision, const Bytes& table);

}  // namespace tarnwick
