#include "smbios/description/structure_types.h"

#include <iterator>

namespace tarnwick {
namespace {

// Types 0 to 46 in order; 5, 6 and 10 are obsolete but still defined.
constexpr const char* kNames[] = {
    "BIOS Information", "System Information", "Baseboard (or Module) Information", "System Enclosure or Chassis",
    "Processor Information", "Memory Controller Information", "Memory Module Information", "Cache Information",
    "Port Connector Information", "System Slots", "On Board Devices Information", "OEM Strings",
    "System Configuration Options", "BIOS Language Information", "Group Associations", "System Event Log",
    "Physical Memory Array", "Memory Device", "32-Bit Memory Error Information", "Memory Array Mapped Address",
    "Memory Device Mapped Address", "Built-in Pointing Device", "Portable Battery", "System Reset",
    "Hardware Security", "System Power Controls", "Voltage Probe", "Cooling Device", "Temperature Probe",
    "Electrical Current Probe", "Out-of-Band Remote Access", "Boot Integrity Services (BIS) Entry Point",
    "System Boot Information", "64-Bit Memory Error Information", "Management Device",
    "Management Device Component", "Management Device Threshold Data", "Memory Channel",
    "IPMI Device Information", "System Power Supply", "Additional Information",
    "Onboard Devices Extended Information", "Management Controller Host Interface", "TPM Device",
    "Processor Additional Information", "Firmware Inventory Information", "String Property",
};

}  // namespace

const char* StructureTypeName(uint8_t type) {
  if (type < std::size(kNames)) return kNames[type];
  if (type == 126) return "Inactive";  // 7.44
  if (type == kEndOfTableType) return "End-of-Table";
  return nullptr;
}

const char* StructureTypeNameOrKind(uint8_t type) {
  if (const char* name = StructureTypeName(type)) return name;
  return type >= 128 ? "OEM-specific" : "Unknown";
}

}  // namespace tarnwick
