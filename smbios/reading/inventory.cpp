#include "smbios/reading/inventory.h"

#include "smbios/reading/field_reader.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {

Inventory g_inventory;

namespace {

constexpr uint32_t kSizeOffset = 0x0C;          // 7.18.5
constexpr uint32_t kExtendedSizeOffset = 0x1C;  // 7.18.5, SMBIOS 2.7 and later
constexpr uint32_t kStatusOffset = 0x18;        // 7.5: bit 6, socket populated
constexpr uint32_t kCoreCountOffset = 0x23;     // SMBIOS 2.5 and later
constexpr uint32_t kThreadCountOffset = 0x25;
constexpr uint32_t kCoreCount2Offset = 0x2A;    // SMBIOS 3.0 and later
constexpr uint32_t kThreadCount2Offset = 0x2E;

void Add(Total* total, uint64_t value) { *total = {total->value + value, true}; }

// The core or thread count: the byte, or the 2-field where the byte is FFh.
bool ProcessorCount(const uint8_t* processor, uint32_t offset, uint32_t offset2, uint64_t* count) {
  if (!ReadField(processor, offset, 1, count)) return false;
  if (*count == 0xFF && !(ReadField(processor, offset2, 2, count) && *count != 0xFFFF)) return false;
  return *count != 0;
}

void TallyProcessor(const uint8_t* processor) {
  uint64_t status = 0;
  if (!ReadField(processor, kStatusOffset, 1, &status)) return;
  const bool populated = (status & 0x40) != 0;
  Add(&g_inventory.populated_processors, populated ? 1 : 0);
  if (!populated) return;
  uint64_t count = 0;
  if (ProcessorCores(processor, &count)) Add(&g_inventory.cores, count);
  if (ProcessorThreads(processor, &count)) Add(&g_inventory.threads, count);
}

}  // namespace

bool MemoryDeviceKilobytes(const uint8_t* device, uint64_t* kilobytes) {
  uint64_t size = 0;
  if (!ReadField(device, kSizeOffset, 2, &size) || size == 0 || size == 0xFFFF) return false;
  uint64_t extended = 0;
  if (size == 0x7FFF && ReadField(device, kExtendedSizeOffset, 4, &extended)) {
    *kilobytes = (extended & 0x7FFFFFFF) * 1024;  // MB
  } else if ((size & 0x8000) != 0) {
    *kilobytes = size & 0x7FFF;
  } else {
    // Before 2.7 a device of 7FFFh MB holds no extended size: 7FFFh is the
    // size itself.
    *kilobytes = size * 1024;
  }
  return true;
}

bool ProcessorPopulated(const uint8_t* processor) {
  uint64_t status = 0;
  return ReadField(processor, kStatusOffset, 1, &status) && (status & 0x40) != 0;
}

bool ProcessorCores(const uint8_t* processor, uint64_t* count) {
  return ProcessorCount(processor, kCoreCountOffset, kCoreCount2Offset, count);
}

bool ProcessorThreads(const uint8_t* processor, uint64_t* count) {
  return ProcessorCount(processor, kThreadCountOffset, kThreadCount2Offset, count);
}

void TallyStructure(const uint8_t* structure, size_t size) {
  ++g_inventory.structures;
  if (size > g_inventory.largest_structure) g_inventory.largest_structure = static_cast<uint32_t>(size);
  ++g_inventory.structures_of_type[structure[0]];
  uint64_t kilobytes = 0;
  if (structure[0] == kMemoryDeviceType && MemoryDeviceKilobytes(structure, &kilobytes)) {
    Add(&g_inventory.memory_kilobytes, kilobytes);
  }
  if (structure[0] == kProcessorType) TallyProcessor(structure);
}

}  // namespace tarnwick
