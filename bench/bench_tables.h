// Tables for the benchmarks: the real ones of the corpus beside the project,
// and generated ones that reach the index's capacity, 64 KiB and the longest
// string a result buffer holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.h"

namespace tarnwick::bench {

struct NamedTable {
  std::string name;
  Bytes bytes;  // the firmware-table service's layout: 8-byte header, table
};

// The corpus's .rsmb tables in name order; empty when the corpus is absent.
const std::vector<NamedTable>& CorpusTables();

// A table as the service returns it: `count` structures, first BIOS, system,
// baseboard, chassis and processor, then memory devices, the last one an
// end-of-table structure (from 7 structures on).
Bytes GeneratedTable(uint32_t count);

// Memory devices behind the five identity structures until the structure
// table holds at least `bytes` bytes; the header's 32-bit length covers it.
Bytes TableOfAtLeast(uint32_t bytes);

// The lookup's worst case: memory devices fill the index up to its last
// entry, which is a processor. The fillers' handles are 0 to 1022: the last
// filler is the worst handle lookup.
Bytes WorstCaseTable();
inline constexpr uint8_t kFillerType = 17;

// Every variable's worst case at once: the same memory devices, then the
// five identity structures in the index's last entries, the baseboard last
// behind a chassis without asset tag.
Bytes IdentityLastTable();

// The totals' worst case: the index full of structures of `type`, each of
// which adds to the total (populated processors with their counts, memory
// devices of 16 GB).
Bytes AllOfTypeTable(uint8_t type);

// System information whose manufacturer (string 1) is 8191 bytes long, the
// longest text the host's buffer holds, followed by a short product name.
Bytes LongestStringTable();

// Serves `bytes` as the machine's table and loads it; stops the program
// when the load fails. The bytes must stay alive while the table is used.
void LoadOrDie(const Bytes& bytes);

}  // namespace tarnwick::bench
