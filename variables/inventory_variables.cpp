// Totals over every structure of a type: installed memory from the Memory
// Device structures (DSP0134 7.18, type 17) and populated processors, their
// cores and threads from the Processor Information structures (7.5, type 4).
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/field_reader.h"
#include "smbios/firmware_table.h"

namespace tarnwick {
namespace {

constexpr uint8_t kProcessorType = 4;
constexpr uint8_t kMemoryDeviceType = 17;

constexpr uint32_t kSizeOffset = 0x0C;          // 7.18.5
constexpr uint32_t kExtendedSizeOffset = 0x1C;  // 7.18.5, SMBIOS 2.7 and later
constexpr uint32_t kStatusOffset = 0x18;        // 7.5: bit 6, socket populated
constexpr uint32_t kCoreCountOffset = 0x23;     // SMBIOS 2.5 and later
constexpr uint32_t kThreadCountOffset = 0x25;
constexpr uint32_t kCoreCount2Offset = 0x2A;    // SMBIOS 3.0 and later
constexpr uint32_t kThreadCount2Offset = 0x2E;

// Calls `visit` with each indexed structure of `type`, in table order.
// Unrolled: most entries are of other types, and the loop's own steps cost
// as much as their tests.
template <typename Visit>
void ForEachOfType(uint8_t type, Visit visit) {
  const StructureIndex& index = g_structure_index;
  if (index.count == 0 || index.first_of_type[type] == kNoStructure) return;
#pragma GCC unroll 4
  for (uint32_t i = index.first_of_type[type]; i < index.count; ++i) {
    if (index.entries[i][0] == type) visit(index.entries[i]);
  }
}

// The module's size in KB; false when no module is installed or its size
// is unknown.
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

bool IsPopulated(const uint8_t* processor) {
  uint64_t status = 0;
  return ReadField(processor, kStatusOffset, 1, &status) && (status & 0x40) != 0;
}

// The processor's core or thread count: the byte, or the 2-field where the
// byte is FFh; false when neither gives a known count.
bool ProcessorCount(const uint8_t* processor, uint32_t offset, uint32_t offset2, uint64_t* count) {
  if (!ReadField(processor, offset, 1, count)) return false;
  if (*count == 0xFF && !(ReadField(processor, offset2, 2, count) && *count != 0xFFFF)) return false;
  return *count != 0;
}

// "N/A" unless `known`, then `total`.
int WriteTotal(char16_t* buffer, bool known, uint64_t total) {
  if (known) {
    WriteDecimal(buffer, total);
  } else {
    WriteNotAvailable(buffer);
  }
  return 0;
}

int SumProcessorCounts(char16_t* buffer, uint32_t offset, uint32_t offset2) {
  if (buffer == nullptr) return -1;
  bool known = false;
  uint64_t total = 0;
  ForEachOfType(kProcessorType, [&](const uint8_t* processor) {
    uint64_t count = 0;
    if (IsPopulated(processor) && ProcessorCount(processor, offset, offset2, &count)) {
      total += count;
      known = true;
    }
  });
  return WriteTotal(buffer, known, total);
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL _smbmemory(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  bool known = false;
  uint64_t kilobytes = 0;
  ForEachOfType(kMemoryDeviceType, [&](const uint8_t* device) {
    uint64_t size = 0;
    if (MemoryDeviceKilobytes(device, &size)) {
      kilobytes += size;
      known = true;
    }
  });
  return WriteTotal(buffer, known, kilobytes / 1024);
}

TARNWICK_EXPORT int TARNWICK_CALL _smbcpucount(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  bool known = false;
  uint64_t populated = 0;
  ForEachOfType(kProcessorType, [&](const uint8_t* processor) {
    uint64_t status = 0;
    if (ReadField(processor, kStatusOffset, 1, &status)) {
      known = true;
      populated += (status & 0x40) != 0 ? 1 : 0;
    }
  });
  return WriteTotal(buffer, known, populated);
}

TARNWICK_EXPORT int TARNWICK_CALL _smbcores(char16_t* buffer) {
  return SumProcessorCounts(buffer, kCoreCountOffset, kCoreCount2Offset);
}

TARNWICK_EXPORT int TARNWICK_CALL _smbthreads(char16_t* buffer) {
  return SumProcessorCounts(buffer, kThreadCountOffset, kThreadCount2Offset);
}
