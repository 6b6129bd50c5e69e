// DSP0134 3.9 sections 7.17-7.23: Physical Memory Array, Memory Device, the
// 32-bit Memory Error Information, the two mapped addresses, Built-in
// Pointing Device and Portable Battery.
#include "smbios/description/row_builders.h"
#include "smbios/description/shared_words.h"
#include "smbios/description/type_groups.h"

namespace tarnwick {
namespace {

using namespace rows;

// 7.17.1-7.17.3
constexpr Word kArrayLocations[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "System board or motherboard"}, {0x04, "ISA add-on card"},
    {0x05, "EISA add-on card"}, {0x06, "PCI add-on card"}, {0x07, "MCA add-on card"},
    {0x08, "PCMCIA add-on card"}, {0x09, "Proprietary add-on card"}, {0x0A, "NuBus"},
    {0xA0, "PC-98/C20 add-on card"}, {0xA1, "PC-98/C24 add-on card"}, {0xA2, "PC-98/E add-on card"},
    {0xA3, "PC-98/Local bus add-on card"}, {0xA4, "CXL add-on card"},
};
constexpr Word kArrayUses[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "System memory"}, {0x04, "Video memory"},
    {0x05, "Flash memory"}, {0x06, "Non-volatile RAM"}, {0x07, "Cache memory"},
};
constexpr Word kArrayErrorCorrection[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "None"}, {0x04, "Parity"},
    {0x05, "Single-bit ECC"}, {0x06, "Multi-bit ECC"}, {0x07, "CRC"},
};
constexpr Word kSeeExtendedCapacity[] = {{0x80000000, "See Extended Maximum Capacity"}};

// 7.18.1-7.18.7
constexpr Word kFormFactors[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "SIMM"}, {0x04, "SIP"}, {0x05, "Chip"}, {0x06, "DIP"},
    {0x07, "ZIP"}, {0x08, "Proprietary Card"}, {0x09, "DIMM"}, {0x0A, "TSOP"}, {0x0B, "Row of chips"},
    {0x0C, "RIMM"}, {0x0D, "SODIMM"}, {0x0E, "SRIMM"}, {0x0F, "FB-DIMM"}, {0x10, "Die"}, {0x11, "CAMM"},
    {0x12, "CUDIMM"}, {0x13, "CSODIMM"},
};
constexpr Word kMemoryTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "DRAM"}, {0x04, "EDRAM"}, {0x05, "VRAM"}, {0x06, "SRAM"},
    {0x07, "RAM"}, {0x08, "ROM"}, {0x09, "FLASH"}, {0x0A, "EEPROM"}, {0x0B, "FEPROM"}, {0x0C, "EPROM"},
    {0x0D, "CDRAM"}, {0x0E, "3DRAM"}, {0x0F, "SDRAM"}, {0x10, "SGRAM"}, {0x11, "RDRAM"}, {0x12, "DDR"},
    {0x13, "DDR2"}, {0x14, "DDR2 FB-DIMM"},  // 15h-17h reserved
    {0x18, "DDR3"}, {0x19, "FBD2"}, {0x1A, "DDR4"}, {0x1B, "LPDDR"}, {0x1C, "LPDDR2"}, {0x1D, "LPDDR3"},
    {0x1E, "LPDDR4"}, {0x1F, "Logical non-volatile device"}, {0x20, "HBM"}, {0x21, "HBM2"}, {0x22, "DDR5"},
    {0x23, "LPDDR5"}, {0x24, "HBM3"}, {0x25, "MRDIMM"},
};
constexpr BitName kTypeDetail[] = {
    {1, "Other"}, {2, "Unknown"}, {3, "Fast-paged"}, {4, "Static column"}, {5, "Pseudo-static"},
    {6, "RAMBUS"}, {7, "Synchronous"}, {8, "CMOS"}, {9, "EDO"}, {10, "Window DRAM"}, {11, "Cache DRAM"},
    {12, "Non-volatile"}, {13, "Registered (Buffered)"}, {14, "Unbuffered (Unregistered)"}, {15, "LRDIMM"},
};
constexpr Word kTechnologies[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "DRAM"}, {0x04, "NVDIMM-N"}, {0x05, "NVDIMM-F"},
    {0x06, "NVDIMM-P"}, {0x07, "Intel Optane persistent memory"},
};
constexpr BitName kOperatingModes[] = {
    {1, "Other"}, {2, "Unknown"}, {3, "Volatile memory"}, {4, "Byte-accessible persistent memory"},
    {5, "Block-accessible persistent memory"},
};
constexpr Word kDeviceSize[] = {{0x0000, "No Module Installed"}, {0x7FFF, "See Extended Size"},
                                {0xFFFF, "Unknown"}};
constexpr Word kDeviceSpeed[] = {{0x0000, "Unknown"}, {0xFFFF, "See Extended Speed"}};
constexpr Word kWidthUnknown[] = {{0xFFFF, "Unknown"}};
constexpr Word kDeviceSet[] = {{0x00, "None"}, {0xFF, "Unknown"}};
constexpr Word kPartSize[] = {{0, "None"}, {~uint64_t{0}, "Unknown"}};
constexpr Word kIdUnknown[] = {{0x0000, "Unknown"}};


// 7.21
constexpr Word kRowPosition[] = {{0xFF, "Unknown"}};
constexpr Word kInterleave[] = {{0x00, "Non-interleaved"}, {0xFF, "Unknown"}};

// 7.22.1, 7.22.2
constexpr Word kPointingTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Mouse"}, {0x04, "Track Ball"}, {0x05, "Track Point"},
    {0x06, "Glide Point"}, {0x07, "Touch Pad"}, {0x08, "Touch Screen"}, {0x09, "Optical Sensor"},
};
constexpr Word kPointingInterfaces[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Serial"}, {0x04, "PS/2"}, {0x05, "Infrared"},
    {0x06, "HP-HIL"}, {0x07, "Bus mouse"}, {0x08, "ADB (Apple Desktop Bus)"}, {0xA0, "Bus mouse DB-9"},
    {0xA1, "Bus mouse micro-DIN"}, {0xA2, "USB"}, {0xA3, "I2C"}, {0xA4, "SPI"},
};

// 7.23.1
constexpr Word kChemistries[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Lead Acid"}, {0x04, "Nickel Cadmium"},
    {0x05, "Nickel metal hydride"}, {0x06, "Lithium-ion"}, {0x07, "Zinc air"}, {0x08, "Lithium Polymer"},
};

constexpr TypeSet kErrorInformation = Types({18, 33});

constexpr FieldRow kRows[] = {
    // 7.17 Physical Memory Array
    Enum(16, 0x04, 1, 0x0201, "Location", kArrayLocations),
    Enum(16, 0x05, 1, 0x0201, "Use", kArrayUses),
    Enum(16, 0x06, 1, 0x0201, "Memory Error Correction", kArrayErrorCorrection),
    Number(16, 0x07, 4, 0x0201, "Maximum Capacity")
        .In(Unit::kKilobytes).Within(0, 0x7FFFFFFF).Meaning(kSeeExtendedCapacity),
    Handle(16, 0x0B, 0x0201, "Memory Error Information Handle", kErrorInformation, kNoErrorInformation),
    Number(16, 0x0D, 2, 0x0201, "Number of Memory Devices"),
    Number(16, 0x0F, 8, 0x0207, "Extended Maximum Capacity").In(Unit::kBytes),
    // 7.18 Memory Device
    Handle(17, 0x04, 0x0201, "Physical Memory Array Handle", Types({16})),
    Handle(17, 0x06, 0x0201, "Memory Error Information Handle", kErrorInformation, kNoErrorInformation),
    Number(17, 0x08, 2, 0x0201, "Total Width").In(Unit::kBits).Meaning(kWidthUnknown),
    Number(17, 0x0A, 2, 0x0201, "Data Width").In(Unit::kBits).Meaning(kWidthUnknown),
    Number(17, 0x0C, 2, 0x0201, "Size").In(Unit::kMemorySize).Meaning(kDeviceSize),
    Enum(17, 0x0E, 1, 0x0201, "Form Factor", kFormFactors),
    Number(17, 0x0F, 1, 0x0201, "Device Set").Meaning(kDeviceSet),
    String(17, 0x10, 0x0201, "Device Locator"),
    String(17, 0x11, 0x0201, "Bank Locator"),
    Enum(17, 0x12, 1, 0x0201, "Memory Type", kMemoryTypes),
    Flags(17, 0x13, 2, 0x0201, "Type Detail", 0x0001, kTypeDetail),
    Number(17, 0x15, 2, 0x0203, "Speed").In(Unit::kMegatransfers).Meaning(kDeviceSpeed),
    String(17, 0x17, 0x0203, "Manufacturer"),
    String(17, 0x18, 0x0203, "Serial Number"),
    String(17, 0x19, 0x0203, "Asset Tag"),
    String(17, 0x1A, 0x0203, "Part Number"),
    Flags(17, 0x1B, 1, 0x0206, "Attributes", 0xF0),
    Number(17, 0x1B, 1, 0x0206, "Attributes").InBits(0x0F).In(Unit::kRanks).Meaning(kZeroUnknown),
    Flags(17, 0x1C, 4, 0x0207, "Extended Size", 0x80000000).In(Unit::kMegabytes),
    Number(17, 0x20, 2, 0x0207, "Configured Memory Speed").In(Unit::kMegatransfers).Meaning(kDeviceSpeed),
    Number(17, 0x22, 2, 0x0208, "Minimum Voltage").In(Unit::kMillivolts).Meaning(kZeroUnknown),
    Number(17, 0x24, 2, 0x0208, "Maximum Voltage").In(Unit::kMillivolts).Meaning(kZeroUnknown),
    Number(17, 0x26, 2, 0x0208, "Configured Voltage").In(Unit::kMillivolts).Meaning(kZeroUnknown),
    Enum(17, 0x28, 1, 0x0302, "Memory Technology", kTechnologies),
    Flags(17, 0x29, 2, 0x0302, "Memory Operating Mode Capability", 0xFFC1, kOperatingModes),
    String(17, 0x2B, 0x0302, "Firmware Version"),
    Number(17, 0x2C, 2, 0x0302, "Module Manufacturer ID").Meaning(kIdUnknown),
    Number(17, 0x2E, 2, 0x0302, "Module Product ID").Meaning(kIdUnknown),
    Number(17, 0x30, 2, 0x0302, "Memory Subsystem Controller Manufacturer ID").Meaning(kIdUnknown),
    Number(17, 0x32, 2, 0x0302, "Memory Subsystem Controller Product ID").Meaning(kIdUnknown),
    Number(17, 0x34, 8, 0x0302, "Non-volatile Size").In(Unit::kBytes).Meaning(kPartSize),
    Number(17, 0x3C, 8, 0x0302, "Volatile Size").In(Unit::kBytes).Meaning(kPartSize),
    Number(17, 0x44, 8, 0x0302, "Cache Size").In(Unit::kBytes).Meaning(kPartSize),
    Number(17, 0x4C, 8, 0x0302, "Logical Size").In(Unit::kBytes).Meaning(kPartSize),
    Flags(17, 0x54, 4, 0x0303, "Extended Speed", 0x80000000).In(Unit::kMegatransfers),
    Flags(17, 0x58, 4, 0x0303, "Extended Configured Memory Speed", 0x80000000).In(Unit::kMegatransfers),
    Number(17, 0x5C, 2, 0x0307, "PMIC0 Manufacturer ID").Meaning(kIdUnknown),
    Number(17, 0x5E, 2, 0x0307, "PMIC0 Revision Number"),
    Number(17, 0x60, 2, 0x0307, "RCD Manufacturer ID").Meaning(kIdUnknown),
    Number(17, 0x62, 2, 0x0307, "RCD Revision Number"),
    // 7.19 32-Bit Memory Error Information
    Enum(18, 0x04, 1, 0x0201, "Error Type", kErrorTypes),
    Enum(18, 0x05, 1, 0x0201, "Error Granularity", kErrorGranularities),
    Enum(18, 0x06, 1, 0x0201, "Error Operation", kErrorOperations),
    Number(18, 0x07, 4, 0x0201, "Vendor Syndrome").Meaning(kZeroUnknown),
    Number(18, 0x0B, 4, 0x0201, "Memory Array Error Address").Meaning(kAddressUnknown),
    Number(18, 0x0F, 4, 0x0201, "Device Error Address").Meaning(kAddressUnknown),
    Number(18, 0x13, 4, 0x0201, "Error Resolution").In(Unit::kBytes).Meaning(kAddressUnknown),
    // 7.20 Memory Array Mapped Address, in kilobytes; FFFF FFFFh: see the extended ones.
    Number(19, 0x04, 4, 0x0201, "Starting Address").In(Unit::kKilobytes),
    Number(19, 0x08, 4, 0x0201, "Ending Address").In(Unit::kKilobytes),
    Handle(19, 0x0C, 0x0201, "Memory Array Handle", Types({16})),
    Number(19, 0x0E, 1, 0x0201, "Partition Width"),
    Number(19, 0x0F, 8, 0x0207, "Extended Starting Address").In(Unit::kBytes),
    Number(19, 0x17, 8, 0x0207, "Extended Ending Address").In(Unit::kBytes),
    // 7.21 Memory Device Mapped Address
    Number(20, 0x04, 4, 0x0201, "Starting Address").In(Unit::kKilobytes),
    Number(20, 0x08, 4, 0x0201, "Ending Address").In(Unit::kKilobytes),
    Handle(20, 0x0C, 0x0201, "Memory Device Handle", Types({17})),
    Handle(20, 0x0E, 0x0201, "Memory Array Mapped Address Handle", Types({19})),
    Number(20, 0x10, 1, 0x0201, "Partition Row Position").Within(0x01, 0xFF).Meaning(kRowPosition),
    Number(20, 0x11, 1, 0x0201, "Interleave Position").Meaning(kInterleave),
    Number(20, 0x12, 1, 0x0201, "Interleaved Data Depth").Meaning(kInterleave),
    Number(20, 0x13, 8, 0x0207, "Extended Starting Address").In(Unit::kBytes),
    Number(20, 0x1B, 8, 0x0207, "Extended Ending Address").In(Unit::kBytes),
    // 7.22 Built-in Pointing Device
    Enum(21, 0x04, 1, 0x0201, "Type", kPointingTypes),
    Enum(21, 0x05, 1, 0x0201, "Interface", kPointingInterfaces),
    Number(21, 0x06, 1, 0x0201, "Number of Buttons"),
    // 7.23 Portable Battery
    String(22, 0x04, 0x0201, "Location"),
    String(22, 0x05, 0x0201, "Manufacturer"),
    String(22, 0x06, 0x0201, "Manufacture Date"),
    String(22, 0x07, 0x0201, "Serial Number"),
    String(22, 0x08, 0x0201, "Device Name"),
    Enum(22, 0x09, 1, 0x0201, "Device Chemistry", kChemistries),
    Number(22, 0x0A, 2, 0x0201, "Design Capacity").In(Unit::kMilliwattHours).Meaning(kZeroUnknown),
    Number(22, 0x0C, 2, 0x0201, "Design Voltage").In(Unit::kMillivolts).Meaning(kZeroUnknown),
    String(22, 0x0E, 0x0201, "SBDS Version Number"),
    Number(22, 0x0F, 1, 0x0201, "Maximum Error in Battery Data").In(Unit::kPercent).Within(0, 100).Meaning(kUnknownFF),
    Number(22, 0x10, 2, 0x0202, "SBDS Serial Number"),
    Number(22, 0x12, 2, 0x0202, "SBDS Manufacture Date"),  // 7.23: bits 15-9 year - 1980, 8-5 month, 4-0 day
    String(22, 0x14, 0x0202, "SBDS Device Chemistry"),
    Number(22, 0x15, 1, 0x0202, "Design Capacity Multiplier"),
    Number(22, 0x16, 4, 0x0202, "OEM-specific"),
};

}  // namespace

TypeGroup MemoryTypes() { return {16, 22, kRows, {}}; }

}  // namespace tarnwick
