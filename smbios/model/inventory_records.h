// The installed memory modules (Memory Device, DSP0134 7.18, type 17) and
// the populated processors (Processor Information, 7.5, type 4) one by one,
// by the rules of the tallies (smbios/reading/inventory.h), with the fields that
// tell them apart. Strings are the table's bytes, empty where the
// structure holds none.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "smbios/model/table_model.h"

namespace tarnwick {

struct MemoryDeviceRecord {
  uint16_t handle;
  std::string_view locator;        // 10h, Device Locator
  std::string_view bank_locator;   // 11h
  std::string_view manufacturer;   // 17h, SMBIOS 2.3 and later
  std::string_view serial_number;  // 18h
  std::string_view part_number;    // 1Ah
  uint8_t form_factor;             // 0Eh (7.18.1); 0 where the structure ends before
  uint8_t memory_type;             // 12h (7.18.2)
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

// In walk order.
std::vector<MemoryDeviceRecord> InstalledMemoryDevices(const TableModel& model);
std::vector<ProcessorRecord> PopulatedProcessors(const TableModel& model);

}  // namespace tarnwick
