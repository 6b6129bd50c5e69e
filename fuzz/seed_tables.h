// SMBIOS tables built in code: the realistic table the argument fuzzer runs
// against, and the damaged variants that seed the table fuzzer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick::fuzzing {

using Bytes = std::vector<uint8_t>;

struct SeedStructure {
  uint8_t type;
  uint16_t handle;
  uint8_t length;                                  // the length byte, formatted area included
  std::vector<std::pair<uint8_t, uint8_t>> bytes;  // offset, value; the rest of the area is 0
  std::vector<std::string> strings;                // numbered from 1
};

// The structures end to end, each closed by its string-set's NUL pair.
Bytes StructureTable(const std::vector<SeedStructure>& structures);

// The firmware-table service's layout: the 8-byte header, then `table`.
Bytes WithHeader(const Bytes& table, uint8_t major, uint8_t minor);

// A desktop's table, SMBIOS 3.4: BIOS, system, baseboard, chassis, two
// processors, memory, OEM strings, an inactive and an OEM structure whose
// string number lies past its set, and the end marker.
std::vector<SeedStructure> RealisticStructures();
Bytes RealisticTable();

// Named damaged and edge-case tables derived from the realistic one.
std::vector<std::pair<std::string, Bytes>> SeedTables();

}  // namespace tarnwick::fuzzing
