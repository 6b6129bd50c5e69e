#include "smbios/model/inventory_records.h"

#include <algorithm>

#include "smbios/description/chassis_words.h"
#include "smbios/description/field_description.h"
#include "smbios/description/structure_types.h"
#include "smbios/model/kernel_dmi_fields.h"
#include "smbios/reading/inventory.h"

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

// DSP0134's word for the byte at `offset`, read as 0 where the structure
// ends before; empty for a value it does not define.
const char* WordAt(const Structure& structure, uint8_t offset) {
  const FieldRow* row = FindFieldRow(structure.type, offset);
  const Word* word = row != nullptr ? WordOf(*row, structure.Field(offset).value_or(0)) : nullptr;
  return word != nullptr ? word->text : "";
}

std::optional<uint64_t> Count(bool (*reader)(const uint8_t*, uint64_t*), const uint8_t* processor) {
  uint64_t count = 0;
  return reader(processor, &count) ? std::optional<uint64_t>(count) : std::nullopt;
}

}  // namespace

std::vector<ListedStructure> ListedStructures(const TableModel& model, std::span<const uint8_t> types) {
  std::vector<ListedStructure> listed;
  for (size_t i = 0; i < model.structures.size(); ++i) {
    const Structure& s = model.structures[i];
    if (types.empty() || std::find(types.begin(), types.end(), s.type) != types.end()) {
      listed.push_back({i, s, StructureTypeNameOrKind(s.type)});
    }
  }
  return listed;
}

std::vector<IdentityField> IdentityFields(const TableModel& model) {
  const char* chassis_type = "";
  for (const Structure& s : model.structures) {
    if (s.type != kChassisType) continue;
    if (const std::optional<uint64_t> type = s.Field(0x05)) chassis_type = ChassisTypeAnswer(static_cast<uint8_t>(*type));
    break;
  }
  std::vector<IdentityField> fields;
  for (const KernelDmiField& field : kKernelDmiFields) {
    if (field.label == nullptr) continue;
    fields.push_back({field.label, field.kind == KernelDmiKind::kChassis ? chassis_type
                                                                          : KernelDmiText(model, field).value_or("")});
  }
  return fields;
}

std::vector<MemoryDeviceRecord> InstalledMemoryDevices(const TableModel& model) {
  std::vector<MemoryDeviceRecord> devices;
  for (const Structure& s : model.structures) {
    uint64_t kilobytes = 0;
    if (s.type != kMemoryDeviceType || !MemoryDeviceKilobytes(s.bytes, &kilobytes)) continue;
    devices.push_back({s.handle, Text(s, 0x10), Text(s, 0x11), Text(s, 0x17), Text(s, 0x18), Text(s, 0x1A),
                       WordAt(s, 0x0E), WordAt(s, 0x12), kilobytes * 1024, MemorySpeed(s)});
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
