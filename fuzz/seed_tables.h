// SMBIOS tables built in code: the realistic table the argument fuzzer runs
// against, and the damaged variants that seed the table fuzzer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/bytes.h"
#include "tests/support/table_builder.h"

namespace tarnwick::fuzzing {

using SeedStructure = testing::FieldStructure;

// A desktop's table, SMBIOS 3.4: BIOS, system, baseboard, chassis, two
// processors, memory, OEM strings, an inactive and an OEM structure whose
// string number lies past its set, and the end marker.
std::vector<SeedStructure> RealisticStructures();
Bytes RealisticTable();

// Named damaged and edge-case tables derived from the realistic one.
std::vector<std::pair<std::string, Bytes>> SeedTables();

}  // namespace tarnwick::fuzzing
