// DSP0134 3.9 sections 7.24-7.47: System Reset to String Property: the
// probes and cooling, management devices, IPMI, power supplies, the
// additional and extended device information, host interfaces, TPM,
// processor additional information and firmware inventory.
#include "smbios/description/row_builders.h"
#include "smbios/description/shared_words.h"
#include "smbios/description/type_groups.h"

namespace tarnwick {
namespace {

using namespace rows;

// 7.24, 7.25
constexpr BitName kResetCapabilities[] = {{0, "Status"}, {5, "Watchdog timer"}};
// Bits 2-1 the boot option, 4-3 the one on reaching the limit; 00b is
// reserved, which matters only with a watchdog timer (checked apart).
constexpr Word kBootOptions[] = {{1, "Operating System"}, {2, "System Utilities"}, {3, "Do Not Reboot"}};
constexpr Word kResetUnknown[] = {{0xFFFF, "Unknown"}};
// 7.25: four statuses of two bits each (power-on password, keyboard
// password, administrator password, front panel reset, from bit 7).
constexpr Word kSecurityStatuses[] = {{0, "Disabled"}, {1, "Enabled"}, {2, "Not Implemented"}, {3, "Unknown"}};
// 7.26: BCD values; FFh leaves one unset.
constexpr Word kNotScheduled[] = {{0xFF, "Not set"}};

// 7.27.1, 7.29.1, 7.30.1: a probe's location in bits 4-0, its status in 7-5.
constexpr Word kVoltageLocations[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Processor"}, {0x04, "Disk"}, {0x05, "Peripheral Bay"},
    {0x06, "System Management Module"}, {0x07, "Motherboard"}, {0x08, "Memory Module"},
    {0x09, "Processor Module"}, {0x0A, "Power Unit"}, {0x0B, "Add-in Card"},
};
constexpr Word kTemperatureLocations[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Processor"}, {0x04, "Disk"}, {0x05, "Peripheral Bay"},
    {0x06, "System Management Module"}, {0x07, "Motherboard"}, {0x08, "Memory Module"},
    {0x09, "Processor Module"}, {0x0A, "Power Unit"}, {0x0B, "Add-in Card"}, {0x0C, "Front Panel Board"},
    {0x0D, "Back Panel Board"}, {0x0E, "Power System Board"}, {0x0F, "Drive Back Plane"},
};
constexpr Word kStatuses[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "OK"}, {0x04, "Non-critical"}, {0x05, "Critical"},
    {0x06, "Non-recoverable"},
};
// 7.28.1
constexpr Word kCoolingTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Fan"}, {0x04, "Centrifugal Blower"}, {0x05, "Chip Fan"},
    {0x06, "Cabinet Fan"}, {0x07, "Power Supply Fan"}, {0x08, "Heat Pipe"}, {0x09, "Integrated Refrigeration"},
    {0x10, "Active Cooling"}, {0x11, "Passive Cooling"},
};
constexpr Word kGroupNone[] = {{0x00, "Not a member of a redundant unit"}};

// 7.31
constexpr BitName kConnections[] = {{0, "Inbound Connection Enabled"}, {1, "Outbound Connection Enabled"}};

// 7.33.1
constexpr Word kBootStatuses[] = {
    {0x00, "No errors detected"}, {0x01, "No bootable media"}, {0x02, "Normal operating system failed to load"},
    {0x03, "Firmware-detected hardware failure"}, {0x04, "Operating system-detected hardware failure"},
    {0x05, "User-requested boot"}, {0x06, "System security violation"}, {0x07, "Previously-requested image"},
    {0x08, "System watchdog timer expired"}, {0x80, "Vendor/OEM-specific", 0xBF},
    {0xC0, "Product-specific", 0xFF},
};

// 7.35.1, 7.35.2
constexpr Word kManagementTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "LM75"}, {0x04, "LM78"}, {0x05, "LM79"}, {0x06, "LM80"},
    {0x07, "LM81"}, {0x08, "ADM9240"}, {0x09, "DS1780"}, {0x0A, "MAX1617"}, {0x0B, "GL518SM"}, {0x0C, "W83781D"},
    {0x0D, "HT82H791"},
};
constexpr Word kAddressTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "I/O Port"}, {0x04, "Memory"}, {0x05, "SMBus"},
};

// 7.38.1
constexpr Word kChannelTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "RamBus"}, {0x04, "SyncLink"},
};

// 7.39.1, 7.39.2: the interface, and the register spacing in bits 7-6 of 10h.
constexpr Word kIpmiInterfaces[] = {
    {0x00, "Unknown"}, {0x01, "KCS (Keyboard Control Style)"}, {0x02, "SMIC (Server Management Interface Chip)"},
    {0x03, "BT (Block Transfer)"}, {0x04, "SSIF (SMBus System Interface)"},
};
constexpr Word kRegisterSpacings[] = {
    {0x00, "Successive Byte Boundaries"}, {0x01, "32-bit Boundaries"}, {0x02, "16-byte Boundaries"},
};
constexpr BitName kIpmiInterruptInfo[] = {
    {0, "Interrupt Trigger Mode: Level"}, {1, "Interrupt Polarity: Active High"},
    {3, "Interrupt Info Specified"}, {4, "Base Address bit 0"},
};
constexpr Word kNoInterrupt[] = {{0x00, "Unspecified/Unsupported"}};

// 7.40.1: bits 13-10 the type, 9-7 the status, 6-3 the input voltage range switching.
constexpr BitName kSupplyCharacteristics[] = {
    {0, "Hot Replaceable"}, {1, "Present"}, {2, "Unplugged from the wall"},
};
constexpr Word kSupplyTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Linear"}, {0x04, "Switching"}, {0x05, "Battery"}, {0x06, "UPS"},
    {0x07, "Converter"}, {0x08, "Regulator"},
};
constexpr Word kSupplyStatuses[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "OK"}, {0x04, "Non-critical"}, {0x05, "Critical"},
};
constexpr Word kRangeSwitching[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Manual"}, {0x04, "Auto-switch"}, {0x05, "Wide range"},
    {0x06, "Not applicable"},
};

constexpr Word kNoDeviceNumbers[] = {{0xFF, "Not applicable"}};
constexpr Word kNoSegment[] = {{0xFFFF, "Not applicable"}};

// 7.43.1: the MCTP host interfaces of DSP0239 (00h-3Fh), the network host
// interface, OEM.
constexpr Word kHostInterfaces[] = {
    {0x00, "MCTP Host Interface", 0x01},
    {0x02, "KCS: Keyboard Controller Style"}, {0x03, "8250 UART Register Compatible"},
    {0x04, "16450 UART Register Compatible"}, {0x05, "16550/16550A UART Register Compatible"},
    {0x06, "16650/16650A UART Register Compatible"}, {0x07, "16750/16750A UART Register Compatible"},
    {0x08, "16850/16850A UART Register Compatible"},
    {0x09, "MCTP Host Interface", 0x3F},
    {0x40, "Network Host Interface"}, {0xF0, "OEM-defined"},
};

// 7.43.2: the protocols of a host interface's records.
constexpr Word kProtocols[] = {
    {0x02, "IPMI"}, {0x03, "MCTP"}, {0x04, "Redfish over IP"}, {0xF0, "OEM-defined"},
};

// 7.44.1
constexpr BitName kTpmCharacteristics[] = {
    {0x02, "TPM Device characteristics not supported"}, {0x03, "Family configurable via firmware update"},
    {0x04, "Family configurable via platform software support"},
    {0x05, "Family configurable via OEM proprietary mechanism"},
};

// 7.45.1: the processor architectures.
constexpr Word kArchitectures[] = {
    {0x01, "IA32 (x86)"}, {0x02, "x64 (x86-64, Intel64, AMD64, EM64T)"},
    {0x03, "Intel Itanium architecture"}, {0x04, "32-bit ARM (Aarch32)"}, {0x05, "64-bit ARM (Aarch64)"},
    {0x06, "32-bit RISC-V (RV32)"}, {0x07, "64-bit RISC-V (RV64)"}, {0x08, "128-bit RISC-V (RV128)"},
    {0x09, "32-bit LoongArch (LoongArch32)"}, {0x0A, "64-bit LoongArch (LoongArch64)"},
};

// 7.46.1-7.46.4
constexpr Word kVersionFormats[] = {
    {0x00, "Free-form string"}, {0x01, "MAJOR.MINOR"}, {0x02, "32-bit hexadecimal string"},
    {0x03, "64-bit hexadecimal string"}, {0x80, "BIOS vendor or OEM-specific", 0xFF},
};
constexpr Word kIdFormats[] = {
    {0x00, "Free-form string"}, {0x01, "UEFI ESRT FwClass GUID or the UEFI Firmware File Name GUID"},
    {0x80, "BIOS vendor or OEM-specific", 0xFF},
};
constexpr BitName kFirmwareCharacteristics[] = {
    {0x00, "Updatable"}, {0x01, "Write-Protect"},
};
constexpr Word kFirmwareStates[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Disabled"}, {0x04, "Enabled"}, {0x05, "Absent"},
    {0x06, "Stand-by Offline"}, {0x07, "Stand-by Spare"}, {0x08, "Unavailable Offline"},
};
// 7.47.1
constexpr Word kStringProperties[] = {
    {0x0001, "UEFI device path"}, {0x8000, "BIOS vendor-defined", 0xBFFF}, {0xC000, "OEM-defined", 0xFFFF},
};
constexpr Word kImageUnknown[] = {{~uint64_t{0}, "Unknown"}};

constexpr TypeSet kAnyType = {~uint64_t{0}, ~uint64_t{0}};

// 7.27, 7.29 and 7.30 lay their probes out alike: readings in `unit`,
// signed (a rail may be negative), 8000h when unknown; tolerance (plus or
// minus a magnitude), resolution and accuracy unsigned, 8000h when unknown.
constexpr std::array<FieldRow, 10> Probe(uint8_t type, Words locations, Unit unit, Unit resolution) {
  return {{
      String(type, 0x04, 0x0202, "Description"),
      Enum(type, 0x05, 1, 0x0202, "Location and Status", locations, 0x1F),
      Enum(type, 0x05, 1, 0x0202, "Location and Status", kStatuses, 0xE0),
      Number(type, 0x06, 2, 0x0202, "Maximum Value").In(unit).Signed().Meaning(kUnknown8000),
      Number(type, 0x08, 2, 0x0202, "Minimum Value").In(unit).Signed().Meaning(kUnknown8000),
      Number(type, 0x0A, 2, 0x0202, "Resolution").In(resolution).Within(0, 0x7FFF).Meaning(kUnknown8000),
      Number(type, 0x0C, 2, 0x0202, "Tolerance").In(unit).Within(0, 0x7FFF).Meaning(kUnknown8000),
      Number(type, 0x0E, 2, 0x0202, "Accuracy").In(Unit::kHundredthPercent).Within(0, 0x7FFF).Meaning(kUnknown8000),
      Number(type, 0x10, 4, 0x0202, "OEM-defined"),
      Number(type, 0x14, 2, kNoVersion, "Nominal Value").In(unit).Signed().Meaning(kUnknown8000),
  }};
}

constexpr auto kRows = Join(std::to_array<FieldRow>({
    // 7.24 System Reset; with bit 5, the boot options in bits 1-2 and 3-4.
    Flags(23, 0x04, 1, 0x0202, "Capabilities", 0xC0, kResetCapabilities),
    Number(23, 0x04, 1, 0x0202, "Boot Option").InBits(0x06).Meaning(kBootOptions),
    Number(23, 0x04, 1, 0x0202, "Boot Option on Limit").InBits(0x18).Meaning(kBootOptions),
    Number(23, 0x05, 2, 0x0202, "Reset Count").Meaning(kResetUnknown),
    Number(23, 0x07, 2, 0x0202, "Reset Limit").Meaning(kResetUnknown),
    Number(23, 0x09, 2, 0x0202, "Timer Interval").In(Unit::kMinutes).Meaning(kResetUnknown),
    Number(23, 0x0B, 2, 0x0202, "Timeout").In(Unit::kMinutes).Meaning(kResetUnknown),
    // 7.25 Hardware Security, 7.26 System Power Controls
    // Hardware Security Settings: four statuses of two bits each.
    Enum(24, 0x04, 1, 0x0202, "Power-on Password Status", kSecurityStatuses, 0xC0),
    Enum(24, 0x04, 1, 0x0202, "Keyboard Password Status", kSecurityStatuses, 0x30),
    Enum(24, 0x04, 1, 0x0202, "Administrator Password Status", kSecurityStatuses, 0x0C),
    Enum(24, 0x04, 1, 0x0202, "Front Panel Reset Status", kSecurityStatuses, 0x03),
    Number(25, 0x04, 1, 0x0202, "Next Scheduled Power-on Month").Meaning(kNotScheduled),
    Number(25, 0x05, 1, 0x0202, "Next Scheduled Power-on Day-of-month").Meaning(kNotScheduled),
    Number(25, 0x06, 1, 0x0202, "Next Scheduled Power-on Hour").Meaning(kNotScheduled),
    Number(25, 0x07, 1, 0x0202, "Next Scheduled Power-on Minute").Meaning(kNotScheduled),
    Number(25, 0x08, 1, 0x0202, "Next Scheduled Power-on Second").Meaning(kNotScheduled),
}),
    // 7.27 Voltage Probe, in millivolts
    Probe(26, kVoltageLocations, Unit::kMillivolts, Unit::kTenthMillivolts), std::to_array<FieldRow>({
    // 7.28 Cooling Device
    Handle(27, 0x04, 0x0202, "Temperature Probe Handle", Types({28}), kNoHandle),
    Enum(27, 0x06, 1, 0x0202, "Device Type and Status", kCoolingTypes, 0x1F),
    Enum(27, 0x06, 1, 0x0202, "Device Type and Status", kStatuses, 0xE0),
    Number(27, 0x07, 1, 0x0202, "Cooling Unit Group").Meaning(kGroupNone),
    Number(27, 0x08, 4, 0x0202, "OEM-defined"),
    Number(27, 0x0C, 2, kNoVersion, "Nominal Speed").In(Unit::kRpm).Meaning(kUnknown8000),
    String(27, 0x0E, 0x0207, "Description"),
}),
    // 7.29 Temperature Probe, in 1/10th degrees C; 7.30 Electrical Current Probe, in milliamps
    Probe(28, kTemperatureLocations, Unit::kTenthDegrees, Unit::kThousandthDegrees),
    Probe(29, kVoltageLocations, Unit::kMilliamps, Unit::kTenthMilliamps),
    std::to_array<FieldRow>({
    // 7.31 Out-of-Band Remote Access
    String(30, 0x04, 0x0202, "Manufacturer Name"),
    Flags(30, 0x05, 1, 0x0202, "Connections", 0xFC, kConnections),
    // 7.32 Boot Integrity Services Entry Point
    Number(31, 0x04, 1, 0x0203, "Checksum"),
    Zero(31, 0x05, 1, 0x0203, "Reserved"),
    Zero(31, 0x06, 2, 0x0203, "Reserved"),
    Number(31, 0x08, 4, 0x0203, "BIS Entry Point Address 16-bit"),
    Number(31, 0x0C, 4, 0x0203, "BIS Entry Point Address 32-bit"),
    Zero(31, 0x10, 8, 0x0203, "Reserved"),
    Zero(31, 0x18, 4, 0x0203, "Reserved"),
    // 7.33 System Boot Information
    Zero(32, 0x04, 6, 0x0203, "Reserved"),
    Enum(32, 0x0A, 1, 0x0203, "Boot Status", kBootStatuses),
    // 7.34 64-Bit Memory Error Information
    Enum(33, 0x04, 1, 0x0203, "Error Type", kErrorTypes),
    Enum(33, 0x05, 1, 0x0203, "Error Granularity", kErrorGranularities),
    Enum(33, 0x06, 1, 0x0203, "Error Operation", kErrorOperations),
    Number(33, 0x07, 4, 0x0203, "Vendor Syndrome").Meaning(kZeroUnknown),
    Number(33, 0x0B, 8, 0x0203, "Memory Array Error Address").Meaning(kAddress64Unknown),
    Number(33, 0x13, 8, 0x0203, "Device Error Address").Meaning(kAddress64Unknown),
    Number(33, 0x1B, 4, 0x0203, "Error Resolution").In(Unit::kBytes).Meaning(kAddressUnknown),
    // 7.35 Management Device
    String(34, 0x04, 0x0203, "Description"),
    Enum(34, 0x05, 1, 0x0203, "Type", kManagementTypes),
    Number(34, 0x06, 4, 0x0203, "Address"),
    Enum(34, 0x0A, 1, 0x0203, "Address Type", kAddressTypes),
    // 7.36 Management Device Component
    String(35, 0x04, 0x0203, "Description"),
    Handle(35, 0x05, 0x0203, "Management Device Handle", Types({34})),
    Handle(35, 0x07, 0x0203, "Component Handle", Types({26, 27, 28, 29})),
    Handle(35, 0x09, 0x0203, "Threshold Handle", Types({36}), kNoHandle),
    // 7.37 Management Device Threshold Data, in the probe's units (signed)
    Number(36, 0x04, 2, 0x0203, "Lower Threshold - Non-critical").Signed().Meaning(kUnknown8000),
    Number(36, 0x06, 2, 0x0203, "Upper Threshold - Non-critical").Signed().Meaning(kUnknown8000),
    Number(36, 0x08, 2, 0x0203, "Lower Threshold - Critical").Signed().Meaning(kUnknown8000),
    Number(36, 0x0A, 2, 0x0203, "Upper Threshold - Critical").Signed().Meaning(kUnknown8000),
    Number(36, 0x0C, 2, 0x0203, "Lower Threshold - Non-recoverable").Signed().Meaning(kUnknown8000),
    Number(36, 0x0E, 2, 0x0203, "Upper Threshold - Non-recoverable").Signed().Meaning(kUnknown8000),
    // 7.38 Memory Channel: devices of 3 bytes from 07h.
    Enum(37, 0x04, 1, 0x0203, "Channel Type", kChannelTypes),
    Number(37, 0x05, 1, 0x0203, "Maximum Channel Load"),
    Number(37, 0x06, 1, 0x0203, "Memory Device Count"),
    Number(37, 0x00, 1, 0x0203, "Memory Device Load").InItem(0),
    Handle(37, 0x01, 0x0203, "Memory Device Handle", Types({17})).InItem(0),
    // 7.39 IPMI Device Information; 10h and 11h are absent from the shortest.
    Enum(38, 0x04, 1, 0x0203, "Interface Type", kIpmiInterfaces),
    Number(38, 0x05, 1, 0x0203, "IPMI Specification Revision"),
    Number(38, 0x06, 1, 0x0203, "I2C Target Address"),
    Number(38, 0x07, 1, 0x0203, "NV Storage Device Address").Meaning(kUnknownFF),
    Number(38, 0x08, 8, 0x0203, "Base Address"),
    Flags(38, 0x10, 1, kNoVersion, "Base Address Modifier / Interrupt Info", 0x24, kIpmiInterruptInfo),
    Enum(38, 0x10, 1, kNoVersion, "Base Address Modifier / Interrupt Info", kRegisterSpacings, 0xC0),
    Number(38, 0x11, 1, kNoVersion, "Interrupt Number").Meaning(kNoInterrupt),
    // 7.40 System Power Supply
    Number(39, 0x04, 1, 0x0203, "Power Unit Group").Meaning(kGroupNone),
    String(39, 0x05, 0x0203, "Location"),
    String(39, 0x06, 0x0203, "Device Name"),
    String(39, 0x07, 0x0203, "Manufacturer"),
    String(39, 0x08, 0x0203, "Serial Number"),
    String(39, 0x09, 0x0203, "Asset Tag Number"),
    String(39, 0x0A, 0x0203, "Model Part Number"),
    String(39, 0x0B, 0x0203, "Revision Level"),
    Number(39, 0x0C, 2, 0x0203, "Max Power Capacity").In(Unit::kWatts).Within(0, 0x7FFF).Meaning(kUnknown8000),
    Flags(39, 0x0E, 2, 0x0203, "Power Supply Characteristics", 0xC000, kSupplyCharacteristics),
    Enum(39, 0x0E, 2, 0x0203, "Power Supply Characteristics", kSupplyTypes, 0x3C00),
    Enum(39, 0x0E, 2, 0x0203, "Power Supply Characteristics", kSupplyStatuses, 0x0380),
    Enum(39, 0x0E, 2, 0x0203, "Power Supply Characteristics", kRangeSwitching, 0x0078),
    Handle(39, 0x10, 0x0203, "Input Voltage Probe Handle", Types({26}), kNoHandle),
    Handle(39, 0x12, 0x0203, "Cooling Device Handle", Types({27}), kNoHandle),
    Handle(39, 0x14, 0x0203, "Input Current Probe Handle", Types({29}), kNoHandle),
    // 7.41 Additional Information: entries from 05h, each its length first.
    Number(40, 0x04, 1, 0x0206, "Number of Additional Information entries"),
    Number(40, 0x00, 1, 0x0206, "Entry Length").InItem(0),
    Handle(40, 0x01, 0x0206, "Referenced Handle", kAnyType).InItem(0),
    Number(40, 0x03, 1, 0x0206, "Referenced Offset").InItem(0),
    String(40, 0x04, 0x0206, "String").InItem(0),
    // 7.42 Onboard Devices Extended Information; bit 7 of the type: enabled.
    String(41, 0x04, 0x0206, "Reference Designation"),
    Enum(41, 0x05, 1, 0x0206, "Device Type", kDeviceTypes, 0x7F),
    Flags(41, 0x05, 1, 0x0206, "Device Type", 0, kDeviceStatus),
    Number(41, 0x06, 1, 0x0206, "Device Type Instance"),
    Number(41, 0x07, 2, 0x0206, "Segment Group Number").Meaning(kNoSegment),
    Number(41, 0x09, 1, 0x0206, "Bus Number").Meaning(kNoDeviceNumbers),
    Number(41, 0x0A, 1, 0x0206, "Device/Function Number").Meaning(kNoDeviceNumbers),
    // 7.43 Management Controller Host Interface: the interface's data of n
    // bytes from 06h, then the count of protocol records and the records.
    Enum(42, 0x04, 1, 0x0300, "Interface Type", kHostInterfaces),
    Number(42, 0x05, 1, 0x0300, "Interface Type Specific Data Length"),
    Number(42, 0x00, 1, 0x0300, "Number of Protocol Records").After(0),
    Enum(42, 0x00, 1, 0x0300, "Protocol Type", kProtocols).InItem(1),
    Number(42, 0x01, 1, 0x0300, "Protocol Type Specific Data Length").InItem(1),
    // 7.44 TPM Device
    Number(43, 0x04, 4, 0x0301, "Vendor ID"),
    Number(43, 0x08, 1, 0x0301, "TPM Major Version"),
    Number(43, 0x09, 1, 0x0301, "TPM Minor Version"),
    Number(43, 0x0A, 4, 0x0301, "Firmware Version 1"),
    Number(43, 0x0E, 4, 0x0301, "Firmware Version 2"),
    String(43, 0x12, 0x0301, "Description"),
    Flags(43, 0x13, 8, 0x0301, "Characteristics", ~uint64_t{0x3C}, kTpmCharacteristics),
    Number(43, 0x1B, 4, 0x0301, "OEM-defined"),
    // 7.45 Processor Additional Information: a block from 06h, its length first.
    Handle(44, 0x04, 0x0303, "Referenced Handle", Types({4})),
    Number(44, 0x06, 1, 0x0303, "Block Length"),
    Enum(44, 0x07, 1, 0x0303, "Processor Type", kArchitectures),
    // 7.46 Firmware Inventory Information
    String(45, 0x04, 0x0305, "Firmware Component Name"),
    String(45, 0x05, 0x0305, "Firmware Version"),
    Enum(45, 0x06, 1, 0x0305, "Version Format", kVersionFormats),
    String(45, 0x07, 0x0305, "Firmware ID"),
    Enum(45, 0x08, 1, 0x0305, "Firmware ID Format", kIdFormats),
    String(45, 0x09, 0x0305, "Release Date"),
    String(45, 0x0A, 0x0305, "Manufacturer"),
    String(45, 0x0B, 0x0305, "Lowest Supported Firmware Version"),
    Number(45, 0x0C, 8, 0x0305, "Image Size").In(Unit::kBytes).Meaning(kImageUnknown),
    Flags(45, 0x14, 2, 0x0305, "Characteristics", 0xFFFC, kFirmwareCharacteristics),
    Enum(45, 0x16, 1, 0x0305, "State", kFirmwareStates),
    Number(45, 0x17, 1, 0x0305, "Number of Associated Components"),
    Handle(45, 0x00, 0x0305, "Associated Component Handle", kAnyType).InItem(0),
    // 7.47 String Property
    Enum(46, 0x04, 2, 0x0305, "String Property ID", kStringProperties),
    String(46, 0x06, 0x0305, "String Property Value"),
    Handle(46, 0x07, 0x0305, "Parent Handle", kAnyType),
    // 7.48 Inactive and 7.49 End-of-Table hold the header alone.
}));

constexpr VariablePart kParts[] = {
    // 7.33: the boot status fills the structure from 0Ah.
    {.type = 32, .since = 0x0203, .name = "Boot Status", .start = 0x0A, .count = PartCount::kFills, .item_size = 1},
    // 7.38: n devices of a load byte and a handle, from 07h.
    {.type = 37, .since = 0x0203, .name = "Memory Devices", .start = 0x07, .count_at = 0x06, .item_size = 3},
    // 7.41: entries from 05h, each as long as its first byte says.
    {.type = 40, .since = 0x0206, .name = "Additional Information Entries", .start = 0x05, .count_at = 0x04,
     .size = ItemSize::kInItem, .size_at = 0},
    // 7.43: n bytes of interface data from 06h, then after the count of
    // records, the records: a type, a length m and m bytes.
    {.type = 42, .since = 0x0300, .name = "Interface Type Specific Data", .start = 0x06, .count_at = 0x05,
     .item_size = 1},
    {.type = 42, .since = 0x0300, .name = "Protocol Records", .start = 0x01, .start_after = 0, .count_at = 0x00,
     .size = ItemSize::kInItem, .item_size = 2, .size_at = 1},
    // 7.45: one block, its length (of the data after its two bytes) first.
    {.type = 44, .since = 0x0303, .name = "Processor-Specific Block", .start = 0x06, .count = PartCount::kOne,
     .size = ItemSize::kInItem, .item_size = 2, .size_at = 0},
    // 7.46: n handles from 18h.
    {.type = 45, .since = 0x0305, .name = "Associated Component Handles", .start = 0x18, .count_at = 0x17,
     .item_size = 2},
};

}  // namespace

TypeGroup ManagementTypes() { return {23, 46, kRows, kParts}; }

}  // namespace tarnwick
