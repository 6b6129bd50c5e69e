// The records that whole-table outputs format, built once from the model
// with their words and numbers, so that an output goes down to them once:
// every structure with its type's name; the machine's identity as the
// kernel's DMI files give it; the installed memory modules (Memory Device,
// DSP0134 7.18, type 17) and the populated processors (Processor
// Information, 7.5, type 4) one by one, by the rules of the tallies
// (smbios/reading/inventory.h), with the fields that tell them apart.
// Strings are the table's bytes, empty where the structure holds none.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "smbios/model/table_model.h"

namespace tarnwick {

struct ListedStructure {
  size_t index;  // in walk order
  const Structure& structure;
  const char* type_name;  // as DSP0134 names the type, or its kind past the named ones
};

// node_exporter's label of node_dmi_info and the text of the kernel's file
// that it names (kKernelDmiFields), empty where the kernel writes none; the
// chassis type in words, as _smbchassistype answers it, from the first
// chassis structure, empty where it ends before its type byte (05h, 7.4).
struct IdentityField {
  const char* label;
  std::string text;
};

struct MemoryDeviceRecord {
  uint16_t handle;
  std::string_view locator;        // 10h, Device Locator
  std::string_view bank_locator;   // 11h
  std::string_view manufacturer;   // 17h, SMBIOS 2.3 and later
  std::string_view serial_number;  // 18h
  std::string_view part_number;    // 1Ah
  // DSP0134's words for 0Eh (7.18.1) and 12h (7.18.2); empty for a value it
  // does not define and where the structure ends before.
  const char* form_factor;
  const char* memory_type;
  uint64_t size_bytes;
  std::optional<uint32_t> speed_mts;  // 15h, or Extended Speed (54h, 3.3) where 15h is FFFFh
};

struct ProcessorRecord {
  uint16_t handle;
  std::string_view socket;        // 04h, Socket Designation
  std::string_view manufacturer;  // 07h
  std::string_view version;       // 10h
  std::optional<uint64_t> cores;
  std::optional<uint64_t> threads;
};

// The structures of `types` (every one for none), in walk order.
std::vector<ListedStructure> ListedStructures(const TableModel& model, std::span<const uint8_t> types);
// In kKernelDmiFields' order.
std::vector<IdentityField> IdentityFields(const TableModel& model);
// In walk order.
std::vector<MemoryDeviceRecord> InstalledMemoryDevices(const TableModel& model);
std::vector<ProcessorRecord> PopulatedProcessors(const TableModel& model);

}  // namespace tarnwick
