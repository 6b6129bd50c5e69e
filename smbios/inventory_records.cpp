#include "smbios/inventory_records.h"

#include "smbios/field_reader.h"
#include "smbios/inventory.h"
#include "smbios/structure_types.h"

namespace tarnwick {
namespace {

// The string that the byte at `offset` selects; empty for number 0, one past
// the set, or a structure that ends before the byte.
std::string_view StringAt(const Structure& structure, uint32_t offset) {
  const std::optional<uint8_t> number = structure.Byte(offset);
  return number ? structure.String(*number).value_or(std::string_view()) : std::string_view();
}

// DSP0134 7.18: Speed (15h) in MT/s, 0 unknown; FFFFh sends the reader to
// the Extended Speed (54h), of which bits 30-0 hold the speed.
std::optional<uint32_t> MemorySpeed(const uint8_t* device) {
  uint64_t speed = 0;
  if (!ReadField(device, 0x15, 2, &speed)) return std::nullopt;
  if (speed == 0xFFFF && !(ReadField(device, 0x54, 4, &speed) && (speed &= 0x7FFFFFFF) != 0)) return std::nullopt;
  if (speed == 0) return std::nullopt;
  return static_cast<uint32_t>(speed);
}

std::optional<uint64_t> Count(bool (*reader)(const uint8_t*, uint64_t*), const uint8_t* processor) {
  uint64_t count = 0;
  return reader(processor, &count) ? std::optional<uint64_t>(count) : std::nullopt;
}

}  // namespace

std::vector<MemoryDeviceRecord> InstalledMemoryDevices(const TableModel& model) {
  std::vector<MemoryDeviceRecord> devices;
  for (const Structure& s : model.structures) {
    uint64_t kilobytes = 0;
    if (s.type != kMemoryDeviceType || !MemoryDeviceKilobytes(s.bytes, &kilobytes)) continue;
    devices.push_back({s.handle, StringAt(s, 0x10), StringAt(s, 0x11), StringAt(s, 0x17), StringAt(s, 0x18),
                       StringAt(s, 0x1A), s.Byte(0x0E).value_or(0), s.Byte(0x12).value_or(0), kilobytes * 1024,
                       MemorySpeed(s.bytes)});
  }
  return devices;
}

std::vector<ProcessorRecord> PopulatedProcessors(const TableModel& model) {
  std::vector<ProcessorRecord> processors;
  for (const Structure& s : model.structures) {
    if (s.type != kProcessorType || !ProcessorPopulated(s.bytes)) continue;
    processors.push_back({s.handle, StringAt(s, 0x04), StringAt(s, 0x07), StringAt(s, 0x10),
                          Count(&ProcessorCores, s.bytes), Count(&ProcessorThreads, s.bytes)});
  }
  return processors;
}

}  // namespace tarnwick
