// Totals over every structure of a type, tallied once when a table loads so
// that each answer is one step however many structures count: installed
// memory from the Memory Device structures (DSP0134 7.18, type 17) and
// populated processors, their cores and threads from the Processor
// Information structures (7.5, type 4).
#pragma once

#include <cstdint>

namespace tarnwick {

struct Total {
  uint64_t value;
  bool known;  // false: no structure gave a known value
};

struct Inventory {
  Total memory_megabytes;      // installed modules of known size
  Total populated_processors;  // known once a processor holds a status byte
  Total cores;                 // over populated processors of known count
  Total threads;
};

// Written only by LoadTable and ReleaseTable, like the index.
extern Inventory g_inventory;

// Tallies g_inventory from the indexed structures.
void TallyInventory();

}  // namespace tarnwick
