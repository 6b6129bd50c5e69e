// Counts and totals over every structure of the table, past the index's
// cap too, tallied once when a table loads so that each answer is one step
// however many structures count: the structures of each type, installed
// memory from the Memory Device structures (DSP0134 7.18, type 17) and
// populated processors, their cores and threads from the Processor
// Information structures (7.5, type 4).
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick {

struct Total {
  uint64_t value;
  bool known;  // false: no structure gave a known value
};

struct Inventory {
  uint32_t structures;         // valid structures in the walk
  uint32_t largest_structure;  // bytes, string-set included
  uint32_t structures_of_type[256];
  Total memory_kilobytes;      // installed modules of known size
  Total populated_processors;  // known once a processor holds a status byte
  Total cores;                 // over populated processors of known count
  Total threads;
};

// Written only by LoadTable and ReleaseTable, like the index.
extern Inventory g_inventory;

// The rules for "installed" and "populated", for the tallies and for
// whatever lists the modules and processors one by one.
// The size of the module in KB (DSP0134 7.18.5, with the Extended Size of
// 2.7 and later); false when no module is installed or its size is unknown.
bool MemoryDeviceKilobytes(const uint8_t* device, uint64_t* kilobytes);
// Bit 6 of the processor's Status (7.5): its socket is populated.
bool ProcessorPopulated(const uint8_t* processor);
// The processor's cores or threads: the byte (2.5 and later), or the word
// of 3.0 and later where the byte is FFh; false when neither is known.
bool ProcessorCores(const uint8_t* processor, uint64_t* count);
bool ProcessorThreads(const uint8_t* processor, uint64_t* count);

// Counts one more valid structure of `size` bytes into g_inventory; the
// loader calls it for each structure of the table in table order.
void TallyStructure(const uint8_t* structure, size_t size);

}  // namespace tarnwick
