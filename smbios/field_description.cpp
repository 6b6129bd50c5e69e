#include "smbios/field_description.h"

#include <algorithm>
#include <iterator>

#include "smbios/field_reader.h"

namespace tarnwick {
namespace {

constexpr FieldRow Number(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name) {
  return {type, offset, width, since, name, Validity::kAny, 0, {}, Place::kFixed};
}
constexpr FieldRow String(uint8_t type, uint8_t offset, Since since, const char* name) {
  return {type, offset, 1, since, name, Validity::kString, 0, {}, Place::kFixed};
}
constexpr FieldRow Values(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name,
                          Allowed allowed, uint64_t bits = 0) {
  return {type, offset, width, since, name, Validity::kValues, bits, allowed, Place::kFixed};
}
constexpr FieldRow Flags(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name,
                         uint64_t reserved) {
  return {type, offset, width, since, name, Validity::kReserved, reserved, {}, Place::kFixed};
}
constexpr FieldRow Zero(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name) {
  return {type, offset, width, since, name, Validity::kZero, 0, {}, Place::kFixed};
}
constexpr FieldRow Handle(uint8_t type, uint8_t offset, Since since, const char* name, uint64_t targets,
                          Allowed none = {}) {
  return {type, offset, 2, since, name, Validity::kHandle, targets, none, Place::kFixed};
}
constexpr FieldRow At(Place place, FieldRow row) {
  row.place = place;
  return row;
}

constexpr Allowed Range(uint32_t low, uint32_t high) { return {{{low, high}}, 1}; }
constexpr Allowed Ranges(ValueRange a, ValueRange b, ValueRange c = {1, 0}) {
  return {{a, b, c}, static_cast<uint8_t>(c.low <= c.high ? 3 : 2)};
}

constexpr uint16_t kNoVersion = 0;
// The "none" values of handle fields: FFFEh "not provided", FFFFh "no
// error information", "no cache", "no probe" (each as its field says).
constexpr Allowed kNoneFFFF = {{{0xFFFF, 0xFFFF}}, 1};
constexpr Allowed kNoneFFFEFFFF = {{{0xFFFE, 0xFFFF}}, 1};
constexpr Place kAfterElements = Place::kAfterElements;
constexpr Place kAfterPeerGroups = Place::kAfterPeerGroups;

// DSP0134 3.9, section 7.n for type n - 1; the values as it defines them.
constexpr FieldRow kRows[] = {
    // 7.1 BIOS Information
    String(0, 0x04, 0x0200, "Vendor"),
    String(0, 0x05, 0x0200, "BIOS Version"),
    Number(0, 0x06, 2, 0x0200, "BIOS Starting Address Segment"),
    String(0, 0x08, 0x0200, "BIOS Release Date"),
    Number(0, 0x09, 1, 0x0200, "BIOS ROM Size"),
    Flags(0, 0x0A, 8, 0x0200, "BIOS Characteristics", 0x3),
    // Extension bytes: zero or more before 2.4, both from 2.4 on.
    Number(0, 0x12, 1, kNoVersion, "BIOS Characteristics Extension Byte 1"),
    Flags(0, 0x13, 1, kNoVersion, "BIOS Characteristics Extension Byte 2", 0x80),
    Number(0, 0x14, 1, 0x0204, "System BIOS Major Release"),
    Number(0, 0x15, 1, 0x0204, "System BIOS Minor Release"),
    Number(0, 0x16, 1, 0x0204, "Embedded Controller Firmware Major Release"),
    Number(0, 0x17, 1, 0x0204, "Embedded Controller Firmware Minor Release"),
    Values(0, 0x18, 2, 0x0301, "Extended BIOS ROM Size", Range(0, 1), 0xC000),
    // 7.2 System Information
    String(1, 0x04, 0x0200, "Manufacturer"),
    String(1, 0x05, 0x0200, "Product Name"),
    String(1, 0x06, 0x0200, "Version"),
    String(1, 0x07, 0x0200, "Serial Number"),
    Number(1, 0x08, 16, 0x0201, "UUID"),
    Values(1, 0x18, 1, 0x0201, "Wake-up Type", Range(0x01, 0x08)),
    String(1, 0x19, 0x0204, "SKU Number"),
    String(1, 0x1A, 0x0204, "Family"),
    // 7.3 Baseboard: the fields from 08h on carry no version; readers accept 08h.
    String(2, 0x04, 0x0200, "Manufacturer"),
    String(2, 0x05, 0x0200, "Product"),
    String(2, 0x06, 0x0200, "Version"),
    String(2, 0x07, 0x0200, "Serial Number"),
    String(2, 0x08, kNoVersion, "Asset Tag"),
    Flags(2, 0x09, 1, kNoVersion, "Feature Flags", 0xE0),
    String(2, 0x0A, kNoVersion, "Location in Chassis"),
    Handle(2, 0x0B, kNoVersion, "Chassis Handle", Types({3})),
    Values(2, 0x0D, 1, kNoVersion, "Board Type", Range(0x01, 0x0D)),
    Number(2, 0x0E, 1, kNoVersion, "Number of Contained Object Handles"),
    // 7.4 System Enclosure or Chassis; bit 7 of the type is the lock.
    String(3, 0x04, 0x0200, "Manufacturer"),
    Values(3, 0x05, 1, 0x0200, "Type", Range(0x01, 0x24), 0x7F),
    String(3, 0x06, 0x0200, "Version"),
    String(3, 0x07, 0x0200, "Serial Number"),
    String(3, 0x08, 0x0200, "Asset Tag Number"),
    Values(3, 0x09, 1, 0x0201, "Boot-up State", Range(0x01, 0x06)),
    Values(3, 0x0A, 1, 0x0201, "Power Supply State", Range(0x01, 0x06)),
    Values(3, 0x0B, 1, 0x0201, "Thermal State", Range(0x01, 0x06)),
    Values(3, 0x0C, 1, 0x0201, "Security Status", Range(0x01, 0x05)),
    Number(3, 0x0D, 4, 0x0203, "OEM-defined"),
    Number(3, 0x11, 1, 0x0203, "Height"),
    Number(3, 0x12, 1, 0x0203, "Number of Power Cords"),
    Number(3, 0x13, 1, 0x0203, "Contained Element Count"),
    Number(3, 0x14, 1, 0x0203, "Contained Element Record Length"),
    At(kAfterElements, String(3, 0x00, 0x0207, "SKU Number")),
    At(kAfterElements, Number(3, 0x01, 1, 0x0309, "Rack Type")),
    At(kAfterElements, Number(3, 0x02, 1, 0x0309, "Rack Height")),
    // 7.5 Processor Information
    String(4, 0x04, 0x0200, "Socket Designation"),
    Values(4, 0x05, 1, 0x0200, "Processor Type", Range(0x01, 0x06)),
    Values(4, 0x06, 1, 0x0200, "Processor Family", Range(0x01, 0xFE)),
    String(4, 0x07, 0x0200, "Processor Manufacturer"),
    Number(4, 0x08, 8, 0x0200, "Processor ID"),
    String(4, 0x10, 0x0200, "Processor Version"),
    Number(4, 0x11, 1, 0x0200, "Voltage"),
    Number(4, 0x12, 2, 0x0200, "External Clock"),
    Number(4, 0x14, 2, 0x0200, "Max Speed"),
    Number(4, 0x16, 2, 0x0200, "Current Speed"),
    Values(4, 0x18, 1, 0x0200, "Status", Ranges({0, 4}, {7, 7}), 0x07),  // 5 and 6 reserved
    Flags(4, 0x18, 1, 0x0200, "Status", 0xB8),
    Values(4, 0x19, 1, 0x0200, "Processor Upgrade", Ranges({0x01, 0x57}, {0xFF, 0xFF})),
    Handle(4, 0x1A, 0x0201, "L1 Cache Handle", Types({7}), kNoneFFFF),
    Handle(4, 0x1C, 0x0201, "L2 Cache Handle", Types({7}), kNoneFFFF),
    Handle(4, 0x1E, 0x0201, "L3 Cache Handle", Types({7}), kNoneFFFF),
    String(4, 0x20, 0x0203, "Serial Number"),
    String(4, 0x21, 0x0203, "Asset Tag"),
    String(4, 0x22, 0x0203, "Part Number"),
    Number(4, 0x23, 1, 0x0205, "Core Count"),
    Number(4, 0x24, 1, 0x0205, "Core Enabled"),
    Number(4, 0x25, 1, 0x0205, "Thread Count"),
    Flags(4, 0x26, 2, 0x0205, "Processor Characteristics", 0xFC01),
    Values(4, 0x28, 2, 0x0206, "Processor Family 2", Range(0x0001, 0xFFFD)),
    Values(4, 0x2A, 2, 0x0300, "Core Count 2", Range(0, 0xFFFE)),
    Values(4, 0x2C, 2, 0x0300, "Core Enabled 2", Range(0, 0xFFFE)),
    Values(4, 0x2E, 2, 0x0300, "Thread Count 2", Range(0, 0xFFFE)),
    Values(4, 0x30, 2, 0x0306, "Thread Enabled", Range(0, 0xFFFE)),
    String(4, 0x32, 0x0308, "Socket Type"),
    // 7.6 Memory Controller Information (obsolete)
    Values(5, 0x04, 1, 0x0200, "Error Detecting Method", Range(0x01, 0x08)),
    Flags(5, 0x05, 1, 0x0200, "Error Correcting Capability", 0xC0),
    Values(5, 0x06, 1, 0x0200, "Supported Interleave", Range(0x01, 0x07)),
    Values(5, 0x07, 1, 0x0200, "Current Interleave", Range(0x01, 0x07)),
    Number(5, 0x08, 1, 0x0200, "Maximum Memory Module Size"),
    Flags(5, 0x09, 2, 0x0200, "Supported Speeds", 0xFFE0),
    Flags(5, 0x0B, 2, 0x0200, "Supported Memory Types", 0xF800),
    Flags(5, 0x0D, 1, 0x0200, "Memory Module Voltage", 0xF8),
    Number(5, 0x0E, 1, 0x0200, "Number of Associated Memory Slots"),
    // 7.7 Memory Module Information (obsolete)
    String(6, 0x04, 0x0200, "Socket Designation"),
    Number(6, 0x05, 1, 0x0200, "Bank Connections"),
    Number(6, 0x06, 1, 0x0200, "Current Speed"),
    Flags(6, 0x07, 2, 0x0200, "Current Memory Type", 0xF800),
    Number(6, 0x09, 1, 0x0200, "Installed Size"),
    Number(6, 0x0A, 1, 0x0200, "Enabled Size"),
    Flags(6, 0x0B, 1, 0x0200, "Error Status", 0xF8),
    // 7.8 Cache Information; location 10b is reserved.
    String(7, 0x04, 0x0200, "Socket Designation"),
    Values(7, 0x05, 2, 0x0200, "Cache Configuration", Ranges({0, 1}, {3, 3}), 0x0060),
    Flags(7, 0x05, 2, 0x0200, "Cache Configuration", 0xFC10),
    Number(7, 0x07, 2, 0x0200, "Maximum Cache Size"),
    Number(7, 0x09, 2, 0x0200, "Installed Size"),
    Flags(7, 0x0B, 2, 0x0200, "Supported SRAM Type", 0xFF80),
    Flags(7, 0x0D, 2, 0x0200, "Current SRAM Type", 0xFF80),
    Number(7, 0x0F, 1, 0x0201, "Cache Speed"),
    Values(7, 0x10, 1, 0x0201, "Error Correction Type", Range(0x01, 0x06)),
    Values(7, 0x11, 1, 0x0201, "System Cache Type", Range(0x01, 0x05)),
    Values(7, 0x12, 1, 0x0201, "Associativity", Range(0x01, 0x0E)),
    Number(7, 0x13, 4, 0x0301, "Maximum Cache Size 2"),
    Number(7, 0x17, 4, 0x0301, "Installed Cache Size 2"),
    // 7.9 Port Connector Information
    String(8, 0x04, 0x0200, "Internal Reference Designator"),
    Values(8, 0x05, 1, 0x0200, "Internal Connector Type", Ranges({0x00, 0x23}, {0xA0, 0xA4}, {0xFF, 0xFF})),
    String(8, 0x06, 0x0200, "External Reference Designator"),
    Values(8, 0x07, 1, 0x0200, "External Connector Type", Ranges({0x00, 0x23}, {0xA0, 0xA4}, {0xFF, 0xFF})),
    Values(8, 0x08, 1, 0x0200, "Port Type", Ranges({0x00, 0x23}, {0xA0, 0xA1}, {0xFF, 0xFF})),
    // 7.10 System Slots
    String(9, 0x04, 0x0200, "Slot Designation"),
    Values(9, 0x05, 1, 0x0200, "Slot Type", Ranges({0x01, 0x28}, {0x30, 0x30}, {0xA0, 0xC6})),
    Values(9, 0x06, 1, 0x0200, "Slot Data Bus Width", Range(0x01, 0x0E)),
    Values(9, 0x07, 1, 0x0200, "Current Usage", Range(0x01, 0x05)),
    Values(9, 0x08, 1, 0x0200, "Slot Length", Range(0x01, 0x06)),
    Number(9, 0x09, 2, 0x0200, "Slot ID"),
    Number(9, 0x0B, 1, 0x0200, "Slot Characteristics 1"),
    Number(9, 0x0C, 1, 0x0201, "Slot Characteristics 2"),
    Number(9, 0x0D, 2, 0x0206, "Segment Group Number"),
    Number(9, 0x0F, 1, 0x0206, "Bus Number"),
    Number(9, 0x10, 1, 0x0206, "Device/Function Number"),
    Number(9, 0x11, 1, 0x0302, "Data Bus Width"),
    Number(9, 0x12, 1, 0x0302, "Peer (S/B/D/F/Width) grouping count"),
    At(kAfterPeerGroups, Number(9, 0x00, 1, 0x0304, "Slot Information")),
    At(kAfterPeerGroups, Values(9, 0x01, 1, 0x0304, "Slot Physical Width", Range(0x01, 0x0E))),
    At(kAfterPeerGroups, Number(9, 0x02, 2, 0x0304, "Slot Pitch")),
    At(kAfterPeerGroups, Values(9, 0x04, 1, 0x0305, "Slot Height", Range(0x00, 0x04))),
    // 7.11 On Board Devices (obsolete): pairs of type and string from 04h, checked one by one.
    // 7.12 OEM Strings, 7.13 System Configuration Options: the count of strings.
    Number(11, 0x04, 1, 0x0200, "Count"),
    Number(12, 0x04, 1, 0x0200, "Count"),
    // 7.14 BIOS Language Information
    Number(13, 0x04, 1, 0x0200, "Installable Languages"),
    Flags(13, 0x05, 1, 0x0200, "Flags", 0xFE),
    Zero(13, 0x06, 15, 0x0200, "Reserved"),
    String(13, 0x15, 0x0200, "Current Language"),
    // 7.15 Group Associations: items of 3 bytes from 05h.
    String(14, 0x04, 0x0200, "Group Name"),
    // 7.16 System Event Log: log type descriptors from 17h.
    Number(15, 0x04, 2, 0x0200, "Log Area Length"),
    Number(15, 0x06, 2, 0x0200, "Log Header Start Offset"),
    Number(15, 0x08, 2, 0x0200, "Log Data Start Offset"),
    Values(15, 0x0A, 1, 0x0200, "Access Method", Ranges({0x00, 0x04}, {0x80, 0xFF})),
    Flags(15, 0x0B, 1, 0x0200, "Log Status", 0xFC),
    Number(15, 0x0C, 4, 0x0200, "Log Change Token"),
    Number(15, 0x10, 4, 0x0200, "Access Method Address"),
    Values(15, 0x14, 1, 0x0201, "Log Header Format", Ranges({0x00, 0x01}, {0x80, 0xFF})),
    Number(15, 0x15, 1, 0x0201, "Number of Supported Log Type Descriptors"),
    Number(15, 0x16, 1, 0x0201, "Length of each Log Type Descriptor"),
    // 7.17 Physical Memory Array; 8000 0000h: see Extended Maximum Capacity.
    Values(16, 0x04, 1, 0x0201, "Location", Ranges({0x01, 0x0A}, {0xA0, 0xA4})),
    Values(16, 0x05, 1, 0x0201, "Use", Range(0x01, 0x07)),
    Values(16, 0x06, 1, 0x0201, "Memory Error Correction", Range(0x01, 0x07)),
    Values(16, 0x07, 4, 0x0201, "Maximum Capacity", Range(0, 0x80000000)),
    Handle(16, 0x0B, 0x0201, "Memory Error Information Handle", Types({18, 33}), kNoneFFFEFFFF),
    Number(16, 0x0D, 2, 0x0201, "Number of Memory Devices"),
    Number(16, 0x0F, 8, 0x0207, "Extended Maximum Capacity"),
    // 7.18 Memory Device: form factors to 13h (CSODIMM), types to 25h (MRDIMM).
    Handle(17, 0x04, 0x0201, "Physical Memory Array Handle", Types({16})),
    Handle(17, 0x06, 0x0201, "Memory Error Information Handle", Types({18, 33}), kNoneFFFEFFFF),
    Number(17, 0x08, 2, 0x0201, "Total Width"),
    Number(17, 0x0A, 2, 0x0201, "Data Width"),
    Number(17, 0x0C, 2, 0x0201, "Size"),
    Values(17, 0x0E, 1, 0x0201, "Form Factor", Range(0x01, 0x13)),
    Number(17, 0x0F, 1, 0x0201, "Device Set"),
    String(17, 0x10, 0x0201, "Device Locator"),
    String(17, 0x11, 0x0201, "Bank Locator"),
    Values(17, 0x12, 1, 0x0201, "Memory Type", Ranges({0x01, 0x14}, {0x18, 0x25})),
    Flags(17, 0x13, 2, 0x0201, "Type Detail", 0x0001),
    Number(17, 0x15, 2, 0x0203, "Speed"),
    String(17, 0x17, 0x0203, "Manufacturer"),
    String(17, 0x18, 0x0203, "Serial Number"),
    String(17, 0x19, 0x0203, "Asset Tag"),
    String(17, 0x1A, 0x0203, "Part Number"),
    Flags(17, 0x1B, 1, 0x0206, "Attributes", 0xF0),
    Flags(17, 0x1C, 4, 0x0207, "Extended Size", 0x80000000),
    Number(17, 0x20, 2, 0x0207, "Configured Memory Speed"),
    Number(17, 0x22, 2, 0x0208, "Minimum Voltage"),
    Number(17, 0x24, 2, 0x0208, "Maximum Voltage"),
    Number(17, 0x26, 2, 0x0208, "Configured Voltage"),
    Values(17, 0x28, 1, 0x0302, "Memory Technology", Range(0x01, 0x07)),
    Flags(17, 0x29, 2, 0x0302, "Memory Operating Mode Capability", 0xFFC1),
    String(17, 0x2B, 0x0302, "Firmware Version"),
    Number(17, 0x2C, 2, 0x0302, "Module Manufacturer ID"),
    Number(17, 0x2E, 2, 0x0302, "Module Product ID"),
    Number(17, 0x30, 2, 0x0302, "Memory Subsystem Controller Manufacturer ID"),
    Number(17, 0x32, 2, 0x0302, "Memory Subsystem Controller Product ID"),
    Number(17, 0x34, 8, 0x0302, "Non-volatile Size"),
    Number(17, 0x3C, 8, 0x0302, "Volatile Size"),
    Number(17, 0x44, 8, 0x0302, "Cache Size"),
    Number(17, 0x4C, 8, 0x0302, "Logical Size"),
    Flags(17, 0x54, 4, 0x0303, "Extended Speed", 0x80000000),
    Flags(17, 0x58, 4, 0x0303, "Extended Configured Memory Speed", 0x80000000),
    Number(17, 0x5C, 2, 0x0307, "PMIC0 Manufacturer ID"),
    Number(17, 0x5E, 2, 0x0307, "PMIC0 Revision Number"),
    Number(17, 0x60, 2, 0x0307, "RCD Manufacturer ID"),
    Number(17, 0x62, 2, 0x0307, "RCD Revision Number"),
    // 7.19 32-Bit Memory Error Information
    Values(18, 0x04, 1, 0x0201, "Error Type", Range(0x01, 0x0E)),
    Values(18, 0x05, 1, 0x0201, "Error Granularity", Range(0x01, 0x04)),
    Values(18, 0x06, 1, 0x0201, "Error Operation", Range(0x01, 0x05)),
    Number(18, 0x07, 4, 0x0201, "Vendor Syndrome"),
    Number(18, 0x0B, 4, 0x0201, "Memory Array Error Address"),
    Number(18, 0x0F, 4, 0x0201, "Device Error Address"),
    Number(18, 0x13, 4, 0x0201, "Error Resolution"),
    // 7.20 Memory Array Mapped Address
    Number(19, 0x04, 4, 0x0201, "Starting Address"),
    Number(19, 0x08, 4, 0x0201, "Ending Address"),
    Handle(19, 0x0C, 0x0201, "Memory Array Handle", Types({16})),
    Number(19, 0x0E, 1, 0x0201, "Partition Width"),
    Number(19, 0x0F, 8, 0x0207, "Extended Starting Address"),
    Number(19, 0x17, 8, 0x0207, "Extended Ending Address"),
    // 7.21 Memory Device Mapped Address
    Number(20, 0x04, 4, 0x0201, "Starting Address"),
    Number(20, 0x08, 4, 0x0201, "Ending Address"),
    Handle(20, 0x0C, 0x0201, "Memory Device Handle", Types({17})),
    Handle(20, 0x0E, 0x0201, "Memory Array Mapped Address Handle", Types({19})),
    Values(20, 0x10, 1, 0x0201, "Partition Row Position", Range(0x01, 0xFF)),  // FFh: unknown
    Number(20, 0x11, 1, 0x0201, "Interleave Position"),
    Number(20, 0x12, 1, 0x0201, "Interleaved Data Depth"),
    Number(20, 0x13, 8, 0x0207, "Extended Starting Address"),
    Number(20, 0x1B, 8, 0x0207, "Extended Ending Address"),
    // 7.22 Built-in Pointing Device
    Values(21, 0x04, 1, 0x0201, "Type", Range(0x01, 0x09)),
    Values(21, 0x05, 1, 0x0201, "Interface", Ranges({0x01, 0x08}, {0xA0, 0xA4})),
    Number(21, 0x06, 1, 0x0201, "Number of Buttons"),
    // 7.23 Portable Battery
    String(22, 0x04, 0x0201, "Location"),
    String(22, 0x05, 0x0201, "Manufacturer"),
    String(22, 0x06, 0x0201, "Manufacture Date"),
    String(22, 0x07, 0x0201, "Serial Number"),
    String(22, 0x08, 0x0201, "Device Name"),
    Values(22, 0x09, 1, 0x0201, "Device Chemistry", Range(0x01, 0x08)),
    Number(22, 0x0A, 2, 0x0201, "Design Capacity"),
    Number(22, 0x0C, 2, 0x0201, "Design Voltage"),
    String(22, 0x0E, 0x0201, "SBDS Version Number"),
    Values(22, 0x0F, 1, 0x0201, "Maximum Error in Battery Data", Ranges({0, 100}, {0xFF, 0xFF})),
    Number(22, 0x10, 2, 0x0202, "SBDS Serial Number"),
    Number(22, 0x12, 2, 0x0202, "SBDS Manufacture Date"),
    String(22, 0x14, 0x0202, "SBDS Device Chemistry"),
    Number(22, 0x15, 1, 0x0202, "Design Capacity Multiplier"),
    Number(22, 0x16, 4, 0x0202, "OEM-specific"),
    // 7.24 System Reset
    Flags(23, 0x04, 1, 0x0202, "Capabilities", 0xC0),
    Number(23, 0x05, 2, 0x0202, "Reset Count"),
    Number(23, 0x07, 2, 0x0202, "Reset Limit"),
    Number(23, 0x09, 2, 0x0202, "Timer Interval"),
    Number(23, 0x0B, 2, 0x0202, "Timeout"),
    // 7.25 Hardware Security, 7.26 System Power Controls
    Number(24, 0x04, 1, 0x0202, "Hardware Security Settings"),
    Number(25, 0x04, 1, 0x0202, "Next Scheduled Power-on Month"),
    Number(25, 0x05, 1, 0x0202, "Next Scheduled Power-on Day-of-month"),
    Number(25, 0x06, 1, 0x0202, "Next Scheduled Power-on Hour"),
    Number(25, 0x07, 1, 0x0202, "Next Scheduled Power-on Minute"),
    Number(25, 0x08, 1, 0x0202, "Next Scheduled Power-on Second"),
    // 7.27 Voltage Probe. Readings, tolerance and nominal value are signed
    // (a rail may be negative), 8000h when unknown; resolution and accuracy
    // are unsigned, 8000h when unknown.
    String(26, 0x04, 0x0202, "Description"),
    Values(26, 0x05, 1, 0x0202, "Location and Status", Range(0x01, 0x0B), 0x1F),
    Values(26, 0x05, 1, 0x0202, "Location and Status", Range(0x01, 0x06), 0xE0),
    Number(26, 0x06, 2, 0x0202, "Maximum Value"),
    Number(26, 0x08, 2, 0x0202, "Minimum Value"),
    Values(26, 0x0A, 2, 0x0202, "Resolution", Range(0, 0x8000)),
    Number(26, 0x0C, 2, 0x0202, "Tolerance"),
    Values(26, 0x0E, 2, 0x0202, "Accuracy", Range(0, 0x8000)),
    Number(26, 0x10, 4, 0x0202, "OEM-defined"),
    Number(26, 0x14, 2, kNoVersion, "Nominal Value"),
    // 7.28 Cooling Device
    Handle(27, 0x04, 0x0202, "Temperature Probe Handle", Types({28}), kNoneFFFF),
    Values(27, 0x06, 1, 0x0202, "Device Type and Status", Ranges({0x01, 0x09}, {0x10, 0x11}), 0x1F),
    Values(27, 0x06, 1, 0x0202, "Device Type and Status", Range(0x01, 0x06), 0xE0),
    Number(27, 0x07, 1, 0x0202, "Cooling Unit Group"),
    Number(27, 0x08, 4, 0x0202, "OEM-defined"),
    Number(27, 0x0C, 2, kNoVersion, "Nominal Speed"),
    String(27, 0x0E, 0x0207, "Description"),
    // 7.29 Temperature Probe, in 1/10th degrees C (signed, as 7.27)
    String(28, 0x04, 0x0202, "Description"),
    Values(28, 0x05, 1, 0x0202, "Location and Status", Range(0x01, 0x0F), 0x1F),
    Values(28, 0x05, 1, 0x0202, "Location and Status", Range(0x01, 0x06), 0xE0),
    Number(28, 0x06, 2, 0x0202, "Maximum Value"),
    Number(28, 0x08, 2, 0x0202, "Minimum Value"),
    Values(28, 0x0A, 2, 0x0202, "Resolution", Range(0, 0x8000)),
    Number(28, 0x0C, 2, 0x0202, "Tolerance"),
    Values(28, 0x0E, 2, 0x0202, "Accuracy", Range(0, 0x8000)),
    Number(28, 0x10, 4, 0x0202, "OEM-defined"),
    Number(28, 0x14, 2, kNoVersion, "Nominal Value"),
    // 7.30 Electrical Current Probe, in milliamps (signed, as 7.27)
    String(29, 0x04, 0x0202, "Description"),
    Values(29, 0x05, 1, 0x0202, "Location and Status", Range(0x01, 0x0B), 0x1F),
    Values(29, 0x05, 1, 0x0202, "Location and Status", Range(0x01, 0x06), 0xE0),
    Number(29, 0x06, 2, 0x0202, "Maximum Value"),
    Number(29, 0x08, 2, 0x0202, "Minimum Value"),
    Values(29, 0x0A, 2, 0x0202, "Resolution", Range(0, 0x8000)),
    Number(29, 0x0C, 2, 0x0202, "Tolerance"),
    Values(29, 0x0E, 2, 0x0202, "Accuracy", Range(0, 0x8000)),
    Number(29, 0x10, 4, 0x0202, "OEM-defined"),
    Number(29, 0x14, 2, kNoVersion, "Nominal Value"),
    // 7.31 Out-of-Band Remote Access
    String(30, 0x04, 0x0202, "Manufacturer Name"),
    Flags(30, 0x05, 1, 0x0202, "Connections", 0xFC),
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
    Values(32, 0x0A, 1, 0x0203, "Boot Status", Ranges({0x00, 0x08}, {0x80, 0xFF})),
    // 7.34 64-Bit Memory Error Information
    Values(33, 0x04, 1, 0x0203, "Error Type", Range(0x01, 0x0E)),
    Values(33, 0x05, 1, 0x0203, "Error Granularity", Range(0x01, 0x04)),
    Values(33, 0x06, 1, 0x0203, "Error Operation", Range(0x01, 0x05)),
    Number(33, 0x07, 4, 0x0203, "Vendor Syndrome"),
    Number(33, 0x0B, 8, 0x0203, "Memory Array Error Address"),
    Number(33, 0x13, 8, 0x0203, "Device Error Address"),
    Number(33, 0x1B, 4, 0x0203, "Error Resolution"),
    // 7.35 Management Device
    String(34, 0x04, 0x0203, "Description"),
    Values(34, 0x05, 1, 0x0203, "Type", Range(0x01, 0x0D)),
    Number(34, 0x06, 4, 0x0203, "Address"),
    Values(34, 0x0A, 1, 0x0203, "Address Type", Range(0x01, 0x05)),
    // 7.36 Management Device Component
    String(35, 0x04, 0x0203, "Description"),
    Handle(35, 0x05, 0x0203, "Management Device Handle", Types({34})),
    Handle(35, 0x07, 0x0203, "Component Handle", Types({26, 27, 28, 29})),
    Handle(35, 0x09, 0x0203, "Threshold Handle", Types({36}), kNoneFFFF),
    // 7.37 Management Device Threshold Data, in the probe's units (signed)
    Number(36, 0x04, 2, 0x0203, "Lower Threshold - Non-critical"),
    Number(36, 0x06, 2, 0x0203, "Upper Threshold - Non-critical"),
    Number(36, 0x08, 2, 0x0203, "Lower Threshold - Critical"),
    Number(36, 0x0A, 2, 0x0203, "Upper Threshold - Critical"),
    Number(36, 0x0C, 2, 0x0203, "Lower Threshold - Non-recoverable"),
    Number(36, 0x0E, 2, 0x0203, "Upper Threshold - Non-recoverable"),
    // 7.38 Memory Channel: devices of 3 bytes from 07h.
    Values(37, 0x04, 1, 0x0203, "Channel Type", Range(0x01, 0x04)),
    Number(37, 0x05, 1, 0x0203, "Maximum Channel Load"),
    Number(37, 0x06, 1, 0x0203, "Memory Device Count"),
    // 7.39 IPMI Device Information; 10h and 11h are absent from the shortest.
    Values(38, 0x04, 1, 0x0203, "Interface Type", Range(0x00, 0x04)),
    Number(38, 0x05, 1, 0x0203, "IPMI Revision"),
    Number(38, 0x06, 1, 0x0203, "I2C Target Address"),
    Number(38, 0x07, 1, 0x0203, "NV Storage Device Address"),
    Number(38, 0x08, 8, 0x0203, "Base Address"),
    Flags(38, 0x10, 1, kNoVersion, "Base Address Modifier / Interrupt Info", 0x24),
    Values(38, 0x10, 1, kNoVersion, "Base Address Modifier / Interrupt Info", Range(0, 2), 0xC0),
    Number(38, 0x11, 1, kNoVersion, "Interrupt Number"),
    // 7.40 System Power Supply; 8000h: capacity unknown.
    Number(39, 0x04, 1, 0x0203, "Power Unit Group"),
    String(39, 0x05, 0x0203, "Location"),
    String(39, 0x06, 0x0203, "Device Name"),
    String(39, 0x07, 0x0203, "Manufacturer"),
    String(39, 0x08, 0x0203, "Serial Number"),
    String(39, 0x09, 0x0203, "Asset Tag Number"),
    String(39, 0x0A, 0x0203, "Model Part Number"),
    String(39, 0x0B, 0x0203, "Revision Level"),
    Values(39, 0x0C, 2, 0x0203, "Max Power Capacity", Range(0, 0x8000)),
    Flags(39, 0x0E, 2, 0x0203, "Power Supply Characteristics", 0xC000),
    Handle(39, 0x10, 0x0203, "Input Voltage Probe Handle", Types({26}), kNoneFFFF),
    Handle(39, 0x12, 0x0203, "Cooling Device Handle", Types({27}), kNoneFFFF),
    Handle(39, 0x14, 0x0203, "Input Current Probe Handle", Types({29}), kNoneFFFF),
    // 7.41 Additional Information: entries from 05h, each with its own length.
    Number(40, 0x04, 1, 0x0206, "Number of Additional Information entries"),
    // 7.42 Onboard Devices Extended Information
    String(41, 0x04, 0x0206, "Reference Designation"),
    Values(41, 0x05, 1, 0x0206, "Device Type", Range(0x01, 0x10), 0x7F),
    Number(41, 0x06, 1, 0x0206, "Device Type Instance"),
    Number(41, 0x07, 2, 0x0206, "Segment Group Number"),
    Number(41, 0x09, 1, 0x0206, "Bus Number"),
    Number(41, 0x0A, 1, 0x0206, "Device/Function Number"),
    // 7.43 Management Controller Host Interface: MCTP 00h-3Fh, network 40h, OEM F0h.
    Values(42, 0x04, 1, 0x0300, "Interface Type", Ranges({0x00, 0x40}, {0xF0, 0xF0})),
    Number(42, 0x05, 1, 0x0300, "Interface Type Specific Data Length"),
    // 7.44 TPM Device
    Number(43, 0x04, 4, 0x0301, "Vendor ID"),
    Number(43, 0x08, 1, 0x0301, "TPM Major Version"),
    Number(43, 0x09, 1, 0x0301, "TPM Minor Version"),
    Number(43, 0x0A, 4, 0x0301, "Firmware Version 1"),
    Number(43, 0x0E, 4, 0x0301, "Firmware Version 2"),
    String(43, 0x12, 0x0301, "Description"),
    Flags(43, 0x13, 8, 0x0301, "Characteristics", ~uint64_t{0x3C}),
    Number(43, 0x1B, 4, 0x0301, "OEM-defined"),
    // 7.45 Processor Additional Information: a block from 06h, its length first.
    Handle(44, 0x04, 0x0303, "Referenced Handle", Types({4})),
    Number(44, 0x06, 1, 0x0303, "Block Length"),
    Values(44, 0x07, 1, 0x0303, "Processor Type", Range(0x01, 0x0A)),
    // 7.46 Firmware Inventory Information
    String(45, 0x04, 0x0305, "Firmware Component Name"),
    String(45, 0x05, 0x0305, "Firmware Version"),
    Values(45, 0x06, 1, 0x0305, "Version Format", Ranges({0x00, 0x03}, {0x80, 0xFF})),
    String(45, 0x07, 0x0305, "Firmware ID"),
    Values(45, 0x08, 1, 0x0305, "Firmware ID Format", Ranges({0x00, 0x01}, {0x80, 0xFF})),
    String(45, 0x09, 0x0305, "Release Date"),
    String(45, 0x0A, 0x0305, "Manufacturer"),
    String(45, 0x0B, 0x0305, "Lowest Supported Firmware Version"),
    Number(45, 0x0C, 8, 0x0305, "Image Size"),
    Flags(45, 0x14, 2, 0x0305, "Characteristics", 0xFFFC),
    Values(45, 0x16, 1, 0x0305, "State", Range(0x01, 0x08)),
    Number(45, 0x17, 1, 0x0305, "Number of Associated Components"),
    // 7.47 String Property
    Number(46, 0x04, 2, 0x0305, "String Property ID"),
    String(46, 0x06, 0x0305, "String Property Value"),
    Handle(46, 0x07, 0x0305, "Parent Handle", kAnyType),
    // 7.48 Inactive and 7.49 End-of-Table hold the header alone.
};

constexpr bool Sorted() {
  for (size_t i = 1; i < std::size(kRows); ++i) {
    if (kRows[i].type < kRows[i - 1].type) return false;
  }
  return true;
}
static_assert(Sorted(), "rows are grouped by type, in type order");

// Types whose formatted area ends in a part of variable size that no row
// describes: its start, and where its count and item size stand; a count at
// 0 means the part fills the rest (no length is defined).
struct Tail {
  uint8_t type;
  uint8_t start;
  uint8_t count_at;
  uint8_t item_size;
  uint8_t item_size_at;  // 0: item_size
};

constexpr Tail kTails[] = {
    {2, 0x0F, 0x0E, 2, 0},  {5, 0x0F, 0, 0, 0},    {10, 0x04, 0, 0, 0}, {14, 0x05, 0, 0, 0},
    {15, 0x17, 0x15, 0, 0x16}, {37, 0x07, 0x06, 3, 0}, {40, 0x05, 0, 0, 0}, {42, 0x06, 0, 0, 0},
    {44, 0x06, 0, 0, 0}, {32, 0x0A, 0, 0, 0},
};

bool Applies(Since since, uint16_t version) { return since != kNoVersion && since <= version; }

// The type's first version among its rows.
uint16_t FirstVersion(std::span<const FieldRow> rows) {
  uint16_t first = 0xFFFF;
  for (const FieldRow& row : rows) {
    if (row.since != kNoVersion) first = std::min(first, row.since);
  }
  return first;
}

}  // namespace

std::span<const FieldRow> FieldRows() { return kRows; }

std::span<const FieldRow> FieldRowsOf(uint8_t type) {
  const auto [first, last] = std::equal_range(std::begin(kRows), std::end(kRows), FieldRow{type, 0, 0, 0, nullptr, {}, 0, {}, {}},
                                              [](const FieldRow& a, const FieldRow& b) { return a.type < b.type; });
  return {first, last};
}

uint16_t FirstVersionOf(uint8_t type) {
  const std::span<const FieldRow> rows = FieldRowsOf(type);
  return rows.empty() ? 0 : FirstVersion(rows);
}

bool FieldOffset(const FieldRow& row, const uint8_t* structure, uint32_t* offset) {
  uint32_t base = 0;
  uint64_t count = 0;
  uint64_t size = 0;
  switch (row.place) {
    case Place::kFixed:
      break;
    case Place::kAfterElements:  // DSP0134 7.4: n at 13h, m at 14h
      if (!ReadField(structure, 0x13, 1, &count) || !ReadField(structure, 0x14, 1, &size)) return false;
      base = 0x15 + static_cast<uint32_t>(count * size);
      break;
    case Place::kAfterPeerGroups:  // DSP0134 7.10: n at 12h, 5 bytes each
      if (!ReadField(structure, 0x12, 1, &count)) return false;
      base = 0x13 + static_cast<uint32_t>(count * 5);
      break;
  }
  *offset = base + row.offset;
  return true;
}

uint32_t RequiredLength(const uint8_t* structure, uint16_t version) {
  const std::span<const FieldRow> rows = FieldRowsOf(structure[0]);
  if (rows.empty()) return 0;
  if (version == 0) version = FirstVersion(rows);
  uint32_t required = 4;
  for (const FieldRow& row : rows) {
    uint32_t offset = 0;
    if (Applies(row.since, version) && FieldOffset(row, structure, &offset)) {
      required = std::max(required, offset + row.width);
    }
  }
  return required;
}

uint32_t DefinedLength(const uint8_t* structure, uint16_t version) {
  const uint8_t type = structure[0];
  const std::span<const FieldRow> rows = FieldRowsOf(type);
  // An inactive structure keeps the length of the one it stands for (7.48).
  if ((rows.empty() && type != 127) || type == 126) return 0;
  uint32_t defined = 4;
  for (const FieldRow& row : rows) {
    uint32_t offset = 0;
    if ((row.since == kNoVersion || row.since <= version) && FieldOffset(row, structure, &offset)) {
      defined = std::max(defined, offset + row.width);
    }
  }
  for (const Tail& tail : kTails) {
    if (tail.type != type) continue;
    uint64_t count = 0;
    uint64_t size = tail.item_size;
    if (tail.count_at == 0 || !ReadField(structure, tail.count_at, 1, &count)) return 0;
    if (tail.item_size_at != 0 && !ReadField(structure, tail.item_size_at, 1, &size)) return 0;
    defined = std::max(defined, tail.start + static_cast<uint32_t>(count * size));
  }
  return defined;
}

}  // namespace tarnwick
