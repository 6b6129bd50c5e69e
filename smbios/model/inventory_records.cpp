#include "smbios/model/inventory_records.h"

#include "smbios/reading/inventory.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {
namespace {

// The string that the byte at `offset` selects; empty for number 0, one past
// the set, or a structure that ends before the byte.
std::string_view Text(const Structure& structure, uint32_t offset) {
  return structure.StringField(offset).value_or(std::string_view());
}

// DSP0134 7.18: Speed (15h) in MT/s, 0 unknown; FFFFh sends the reader to
// the Extended Speed (54h), of which bits 30-0 hold the speed.
std::optional<uint32_t> MemorySpeed(const Structure& device) {
  std::optional<uint64_t> speed = device.Field(0x15, 2);
  if (speed == 0xFFFF && (speed = device.Field(0x54, 4))) *speed &= 0x7FFFFFFF;
  if (!speed || *speed == 0) return std::nullopt;
  return static_cast<uint32_t>(*speed);
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
    devices.push_back({s.handle, Text(s, 0x10), Text(s, 0x11), Text(s, 0x17), Text(s, 0x18), Text(s, 0x1A),
                       static_cast<uint8_t>(s.Field(0x0E).value_or(0)),
                       static_cast<uint8_t>(s.Field(0x12).value_or(0)), kilobytes * 1024, MemorySpeed(s)});
  }
  return devices;
}

std::vector<ProcessorRecord> PopulatedProcessors(const TableModel& model) {
  std::vector<ProcessorRecord> processors;
  for (const Structure& s : model.structures) {
    if (s.type != kProcessorType || !ProcessorPopulated(s.bytes)) continue;
    processors.push_back({s.handle, Text(s, 0x04), Text(s, 0x07), Text(s, 0x10),
                          Count(&ProcessorCores, s.bytes), Count(&ProcessorThreads, s.bytes)});
  }
  return processors;
}

}  // namespace tarnwick
