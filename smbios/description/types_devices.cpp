// DSP0134 3.9 sections 7.6-7.16: Memory Controller and Memory Module
// (obsolete), Cache, Port Connector, System Slots, On Board Devices, OEM
// Strings, System Configuration Options, BIOS Language, Group Associations
// and System Event Log.
#include "smbios/description/row_builders.h"
#include "smbios/description/shared_words.h"
#include "smbios/description/type_groups.h"

namespace tarnwick {
namespace {

using namespace rows;

// 7.6.1-7.6.6
constexpr Word kErrorDetecting[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "None"}, {0x04, "8-bit Parity"}, {0x05, "32-bit ECC"},
    {0x06, "64-bit ECC"}, {0x07, "128-bit ECC"}, {0x08, "CRC"},
};
constexpr BitName kErrorCorrecting[] = {
    {0x00, "Other"}, {0x01, "Unknown"}, {0x02, "None"}, {0x03, "Single-bit Error Correcting"},
    {0x04, "Double-bit Error Correcting"}, {0x05, "Error Scrubbing"},
};
constexpr Word kInterleaves[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "One-way Interleave"}, {0x04, "Two-way Interleave"},
    {0x05, "Four-way Interleave"}, {0x06, "Eight-way Interleave"}, {0x07, "Sixteen-way Interleave"},
};
constexpr BitName kControllerSpeeds[] = {{0, "Other"}, {1, "Unknown"}, {2, "70ns"}, {3, "60ns"}, {4, "50ns"}};
// 7.7.1: also the Supported Memory Types of 7.6.
constexpr BitName kModuleTypes[] = {
    {0x00, "Other"}, {0x01, "Unknown"}, {0x02, "Standard"}, {0x03, "FPM"}, {0x04, "EDO"}, {0x05, "Parity"},
    {0x06, "ECC"}, {0x07, "SIMM"}, {0x08, "DIMM"}, {0x09, "Burst EDO"}, {0x0A, "SDRAM"},
};
constexpr BitName kModuleVoltages[] = {{0, "5V"}, {1, "3.3V"}, {2, "2.9V"}};
constexpr BitName kModuleErrors[] = {{0, "Uncorrectable errors"}, {1, "Correctable errors"},
                                     {2, "See Event Log"}};
constexpr Word kSpeedUnknown[] = {{0x00, "Unknown"}};
// 7.8 (3.1): a size past 2047 MB stands in the 32-bit field.
constexpr Word kSeeMaximumCacheSize2[] = {{0xFFFF, "See Maximum Cache Size 2"}};
constexpr Word kSeeInstalledCacheSize2[] = {{0xFFFF, "See Installed Cache Size 2"}};

// 7.8.1-7.8.6
constexpr Word kCacheLocations[] = {{0, "Internal"}, {1, "External"}, {3, "Unknown"}};  // 10b reserved
constexpr BitName kCacheConfiguration[] = {{3, "Socketed"}, {7, "Enabled"}};
constexpr Word kCacheLevels[] = {
    {0, "Level 1"}, {1, "Level 2"}, {2, "Level 3"}, {3, "Level 4"},
    {4, "Level 5"}, {5, "Level 6"}, {6, "Level 7"}, {7, "Level 8"},
};
constexpr Word kCacheModes[] = {
    {0, "Write Through"}, {1, "Write Back"}, {2, "Varies with Memory Address"}, {3, "Unknown"},
};
constexpr BitName kSramTypes[] = {
    {0x00, "Other"}, {0x01, "Unknown"}, {0x02, "Non-burst"}, {0x03, "Burst"}, {0x04, "Pipeline Burst"},
    {0x05, "Synchronous"}, {0x06, "Asynchronous"},
};
constexpr Word kCacheErrorCorrection[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "None"}, {0x04, "Parity"}, {0x05, "Single-bit ECC"},
    {0x06, "Multi-bit ECC"},
};
constexpr Word kCacheTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Instruction"}, {0x04, "Data"}, {0x05, "Unified"},
};
constexpr Word kAssociativities[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Direct Mapped"}, {0x04, "2-way Set-associative"},
    {0x05, "4-way Set-associative"}, {0x06, "Fully Associative"}, {0x07, "8-way Set-associative"},
    {0x08, "16-way Set-associative"}, {0x09, "12-way Set-associative"}, {0x0A, "24-way Set-associative"},
    {0x0B, "32-way Set-associative"}, {0x0C, "48-way Set-associative"}, {0x0D, "64-way Set-associative"},
    {0x0E, "20-way Set-associative"},
};

// 7.9.2, 7.9.3
constexpr Word kConnectorTypes[] = {
    {0x00, "None"}, {0x01, "Centronics"}, {0x02, "Mini Centronics"}, {0x03, "Proprietary"}, {0x04, "DB-25 male"},
    {0x05, "DB-25 female"}, {0x06, "DB-15 male"}, {0x07, "DB-15 female"}, {0x08, "DB-9 male"},
    {0x09, "DB-9 female"}, {0x0A, "RJ-11"}, {0x0B, "RJ-45"}, {0x0C, "50 Pin MiniSCSI"}, {0x0D, "Mini DIN"},
    {0x0E, "Micro DIN"}, {0x0F, "PS/2"}, {0x10, "Infrared"}, {0x11, "HP-HIL"}, {0x12, "Access Bus (USB)"},
    {0x13, "SSA SCSI"}, {0x14, "Circular DIN-8 male"}, {0x15, "Circular DIN-8 female"}, {0x16, "On Board IDE"},
    {0x17, "On Board Floppy"}, {0x18, "9 Pin Dual Inline (pin 10 cut)"},
    {0x19, "25 Pin Dual Inline (pin 26 cut)"}, {0x1A, "50 Pin Dual Inline"}, {0x1B, "68 Pin Dual Inline"},
    {0x1C, "On Board Sound Input From CD-ROM"}, {0x1D, "Mini Centronics Type-14"},
    {0x1E, "Mini Centronics Type-26"}, {0x1F, "Mini Jack (headphones)"}, {0x20, "BNC"}, {0x21, "IEEE 1394"},
    {0x22, "SAS/SATA Plug Receptacle"}, {0x23, "USB Type-C Receptacle"},
    {0xA0, "PC-98"}, {0xA1, "PC-98 Hireso"}, {0xA2, "PC-H98"}, {0xA3, "PC-98 Note"}, {0xA4, "PC-98 Full"},
    {0xFF, "Other"},
};
constexpr Word kPortTypes[] = {
    {0x00, "None"}, {0x01, "Parallel Port XT/AT Compatible"}, {0x02, "Parallel Port PS/2"},
    {0x03, "Parallel Port ECP"}, {0x04, "Parallel Port EPP"}, {0x05, "Parallel Port ECP/EPP"},
    {0x06, "Serial Port XT/AT Compatible"}, {0x07, "Serial Port 16450 Compatible"},
    {0x08, "Serial Port 16550 Compatible"}, {0x09, "Serial Port 16550A Compatible"}, {0x0A, "SCSI Port"},
    {0x0B, "MIDI Port"}, {0x0C, "Joystick Port"}, {0x0D, "Keyboard Port"}, {0x0E, "Mouse Port"},
    {0x0F, "SSA SCSI"}, {0x10, "USB"}, {0x11, "Firewire (IEEE P1394)"}, {0x12, "PCMCIA Type I"},
    {0x13, "PCMCIA Type II"}, {0x14, "PCMCIA Type III"}, {0x15, "Cardbus"}, {0x16, "Access Bus Port"},
    {0x17, "SCSI II"}, {0x18, "SCSI Wide"}, {0x19, "PC-98"}, {0x1A, "PC-98 Hireso"}, {0x1B, "PC-H98"},
    {0x1C, "Video Port"}, {0x1D, "Audio Port"}, {0x1E, "Modem Port"}, {0x1F, "Network Port"}, {0x20, "SATA"},
    {0x21, "SAS"}, {0x22, "MFDP (Multi-Function Display Port)"}, {0x23, "Thunderbolt"},
    {0xA0, "8251 Compatible"}, {0xA1, "8251 FIFO Compatible"},
    {0xFF, "Other"},
};

// 7.10.1-7.10.10
constexpr Word kSlotTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "ISA"}, {0x04, "MCA"}, {0x05, "EISA"}, {0x06, "PCI"},
    {0x07, "PC Card (PCMCIA)"}, {0x08, "VLB"}, {0x09, "Proprietary"}, {0x0A, "Processor Card"},
    {0x0B, "Proprietary Memory Card"}, {0x0C, "I/O Riser Card"}, {0x0D, "NuBus"}, {0x0E, "PCI-66"},
    {0x0F, "AGP"}, {0x10, "AGP 2x"}, {0x11, "AGP 4x"}, {0x12, "PCI-X"}, {0x13, "AGP 8x"},
    {0x14, "M.2 Socket 1-DP"}, {0x15, "M.2 Socket 1-SD"}, {0x16, "M.2 Socket 2"}, {0x17, "M.2 Socket 3"},
    {0x18, "MXM Type I"}, {0x19, "MXM Type II"}, {0x1A, "MXM Type III"}, {0x1B, "MXM Type III-HE"},
    {0x1C, "MXM Type IV"}, {0x1D, "MXM 3.0 Type A"}, {0x1E, "MXM 3.0 Type B"},
    {0x1F, "PCI Express Gen 2 SFF-8639 (U.2)"}, {0x20, "PCI Express Gen 3 SFF-8639 (U.2)"},
    {0x21, "PCI Express Mini 52-pin with bottom-side keep-outs"},
    {0x22, "PCI Express Mini 52-pin without bottom-side keep-outs"}, {0x23, "PCI Express Mini 76-pin"},
    {0x24, "PCI Express Gen 4 SFF-8639 (U.2)"}, {0x25, "PCI Express Gen 5 SFF-8639 (U.2)"},
    {0x26, "OCP NIC 3.0 Small Form Factor (SFF)"}, {0x27, "OCP NIC 3.0 Large Form Factor (LFF)"},
    {0x28, "OCP NIC Prior to 3.0"},
    {0x30, "CXL Flexbus 1.0"},
    {0xA0, "PC-98/C20"}, {0xA1, "PC-98/C24"}, {0xA2, "PC-98/E"}, {0xA3, "PC-98/Local Bus"}, {0xA4, "PC-98/Card"},
    {0xA5, "PCI Express"}, {0xA6, "PCI Express x1"}, {0xA7, "PCI Express x2"}, {0xA8, "PCI Express x4"},
    {0xA9, "PCI Express x8"}, {0xAA, "PCI Express x16"}, {0xAB, "PCI Express Gen 2"}, {0xAC, "PCI Express Gen 2 x1"},
    {0xAD, "PCI Express Gen 2 x2"}, {0xAE, "PCI Express Gen 2 x4"}, {0xAF, "PCI Express Gen 2 x8"},
    {0xB0, "PCI Express Gen 2 x16"}, {0xB1, "PCI Express Gen 3"}, {0xB2, "PCI Express Gen 3 x1"}, {0xB3, "PCI Express Gen 3 x2"},
    {0xB4, "PCI Express Gen 3 x4"}, {0xB5, "PCI Express Gen 3 x8"}, {0xB6, "PCI Express Gen 3 x16"}, {0xB8, "PCI Express Gen 4"},
    {0xB9, "PCI Express Gen 4 x1"}, {0xBA, "PCI Express Gen 4 x2"}, {0xBB, "PCI Express Gen 4 x4"},
    {0xBC, "PCI Express Gen 4 x8"}, {0xBD, "PCI Express Gen 4 x16"}, {0xBE, "PCI Express Gen 5"}, {0xBF, "PCI Express Gen 5 x1"},
    {0xC0, "PCI Express Gen 5 x2"}, {0xC1, "PCI Express Gen 5 x4"}, {0xC2, "PCI Express Gen 5 x8"},
    {0xC3, "PCI Express Gen 5 x16"}, {0xC4, "PCI Express Gen 6+"}, {0xC5, "EDSFF E1"}, {0xC6, "EDSFF E3"},
};
constexpr Word kSlotWidths[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "8 bit"}, {0x04, "16 bit"}, {0x05, "32 bit"}, {0x06, "64 bit"},
    {0x07, "128 bit"}, {0x08, "1x or x1"}, {0x09, "2x or x2"}, {0x0A, "4x or x4"}, {0x0B, "8x or x8"},
    {0x0C, "12x or x12"}, {0x0D, "16x or x16"}, {0x0E, "32x or x32"},
};
constexpr Word kSlotUsages[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Available"}, {0x04, "In Use"}, {0x05, "Unavailable"},
};
constexpr Word kSlotLengths[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Short"}, {0x04, "Long"}, {0x05, "2.5\" drive form factor"},
    {0x06, "3.5\" drive form factor"},
};
constexpr BitName kSlotCharacteristics1[] = {
    {0x00, "Characteristics unknown"},
    {0x01, "5.0 V is provided"}, {0x02, "3.3 V is provided"}, {0x03, "Opening is shared"},
    {0x04, "PC Card-16 is supported"}, {0x05, "Cardbus is supported"}, {0x06, "Zoom Video is supported"},
    {0x07, "Modem ring resume is supported"},
};
constexpr BitName kSlotCharacteristics2[] = {
    {0x00, "PME signal is supported"}, {0x01, "Hot-plug devices are supported"},
    {0x02, "SMBus signal is supported"}, {0x03, "PCIe slot bifurcation is supported"},
    {0x04, "Async/surprise removal is supported"}, {0x05, "Flexbus slot, CXL 1.0 capable"},
    {0x06, "Flexbus slot, CXL 2.0 capable"}, {0x07, "Flexbus slot, CXL 3.0 capable"},
};
constexpr Word kSlotHeights[] = {
    {0x00, "Not applicable"}, {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Full height"}, {0x04, "Low-profile"},
};



// 7.14
constexpr BitName kLanguageFlags[] = {{0, "Abbreviated Format"}};

// 7.16.1-7.16.6
constexpr Word kAccessMethods[] = {
    {0x00, "Indexed I/O, one 8-bit index port, one 8-bit data port"},
    {0x01, "Indexed I/O, two 8-bit index ports, one 8-bit data port"},
    {0x02, "Indexed I/O, one 16-bit index port, one 8-bit data port"},
    {0x03, "Memory-mapped physical 32-bit address"}, {0x04, "General-purpose non-volatile data functions"},
    {0x80, "OEM-specific", 0xFF},
};
constexpr BitName kLogStatus[] = {{0, "Log area valid"}, {1, "Log area full"}};
constexpr Word kLogHeaderFormats[] = {
    {0x00, "No Header"}, {0x01, "Type 1"},
    {0x80, "OEM-specific", 0xFF},
};
constexpr Word kLogTypes[] = {
    {0x01, "Single-bit ECC memory error"}, {0x02, "Multi-bit ECC memory error"}, {0x03, "Parity memory error"},
    {0x04, "Bus time-out"}, {0x05, "I/O Channel Check"}, {0x06, "Software NMI"}, {0x07, "POST Memory Resize"},
    {0x08, "POST Error"}, {0x09, "PCI Parity Error"}, {0x0A, "PCI System Error"}, {0x0B, "CPU Failure"},
    {0x0C, "EISA FailSafe Timer time-out"}, {0x0D, "Correctable memory log disabled"},
    {0x0E, "Logging disabled for a specific Event Type"}, {0x10, "System Limit Exceeded"},
    {0x11, "Asynchronous hardware timer expired and issued a system reset"},
    {0x12, "System configuration information"}, {0x13, "Hard-disk information"}, {0x14, "System reconfigured"},
    {0x15, "Uncorrectable CPU-complex error"}, {0x16, "Log Area Reset/Cleared"}, {0x17, "System boot"},
    {0x80, "OEM-specific", 0xFE}, {0xFF, "End of log"},
};
constexpr Word kLogDataFormats[] = {
    {0x00, "None"}, {0x01, "Handle"}, {0x02, "Multiple-event"}, {0x03, "Multiple-event handle"},
    {0x04, "POST results bitmap"}, {0x05, "System management"}, {0x06, "Multiple-event system management"},
    {0x80, "OEM-specific", 0xFF},
};

constexpr FieldRow kRows[] = {
    // 7.6 Memory Controller Information (obsolete)
    Enum(5, 0x04, 1, 0x0200, "Error Detecting Method", kErrorDetecting),
    Flags(5, 0x05, 1, 0x0200, "Error Correcting Capability", 0xC0, kErrorCorrecting),
    Enum(5, 0x06, 1, 0x0200, "Supported Interleave", kInterleaves),
    Enum(5, 0x07, 1, 0x0200, "Current Interleave", kInterleaves),
    Number(5, 0x08, 1, 0x0200, "Maximum Memory Module Size").In(Unit::kTwoToTheMegabytes),
    Flags(5, 0x09, 2, 0x0200, "Supported Speeds", 0xFFE0, kControllerSpeeds),
    Flags(5, 0x0B, 2, 0x0200, "Supported Memory Types", 0xF800, kModuleTypes),
    Flags(5, 0x0D, 1, 0x0200, "Memory Module Voltage", 0xF8, kModuleVoltages),
    Number(5, 0x0E, 1, 0x0200, "Number of Associated Memory Slots"),
    Handle(5, 0x00, 0x0200, "Memory Module Configuration Handle", Types({6})).InItem(0),
    Flags(5, 0x00, 1, 0x0201, "Enabled Error Correcting Capabilities", 0xC0, kErrorCorrecting).After(0),
    // 7.7 Memory Module Information (obsolete)
    String(6, 0x04, 0x0200, "Socket Designation"),
    Number(6, 0x05, 1, 0x0200, "Bank Connections"),
    Number(6, 0x06, 1, 0x0200, "Current Speed").In(Unit::kNanoseconds).Meaning(kSpeedUnknown),
    Flags(6, 0x07, 2, 0x0200, "Current Memory Type", 0xF800, kModuleTypes),
    Number(6, 0x09, 1, 0x0200, "Installed Size").In(Unit::kModuleSize),
    Number(6, 0x0A, 1, 0x0200, "Enabled Size").In(Unit::kModuleSize),
    Flags(6, 0x0B, 1, 0x0200, "Error Status", 0xF8, kModuleErrors),
    // 7.8 Cache Information; location 10b is reserved.
    String(7, 0x04, 0x0200, "Socket Designation"),
    Enum(7, 0x05, 2, 0x0200, "Cache Configuration", kCacheLevels, 0x0007),
    Enum(7, 0x05, 2, 0x0200, "Cache Configuration", kCacheLocations, 0x0060),
    Enum(7, 0x05, 2, 0x0200, "Cache Configuration", kCacheModes, 0x0300),
    Flags(7, 0x05, 2, 0x0200, "Cache Configuration", 0xFC10, kCacheConfiguration),
    Number(7, 0x07, 2, 0x0200, "Maximum Cache Size").In(Unit::kCacheSize).Meaning(kSeeMaximumCacheSize2),
    Number(7, 0x09, 2, 0x0200, "Installed Size").In(Unit::kCacheSize).Meaning(kSeeInstalledCacheSize2),
    Flags(7, 0x0B, 2, 0x0200, "Supported SRAM Type", 0xFF80, kSramTypes),
    Flags(7, 0x0D, 2, 0x0200, "Current SRAM Type", 0xFF80, kSramTypes),
    Number(7, 0x0F, 1, 0x0201, "Cache Speed").In(Unit::kNanoseconds).Meaning(kSpeedUnknown),
    Enum(7, 0x10, 1, 0x0201, "Error Correction Type", kCacheErrorCorrection),
    Enum(7, 0x11, 1, 0x0201, "System Cache Type", kCacheTypes),
    Enum(7, 0x12, 1, 0x0201, "Associativity", kAssociativities),
    Number(7, 0x13, 4, 0x0301, "Maximum Cache Size 2").In(Unit::kCacheSize2),
    Number(7, 0x17, 4, 0x0301, "Installed Cache Size 2").In(Unit::kCacheSize2),
    // 7.9 Port Connector Information
    String(8, 0x04, 0x0200, "Internal Reference Designator"),
    Enum(8, 0x05, 1, 0x0200, "Internal Connector Type", kConnectorTypes),
    String(8, 0x06, 0x0200, "External Reference Designator"),
    Enum(8, 0x07, 1, 0x0200, "External Connector Type", kConnectorTypes),
    Enum(8, 0x08, 1, 0x0200, "Port Type", kPortTypes),
    // 7.10 System Slots
    String(9, 0x04, 0x0200, "Slot Designation"),
    Enum(9, 0x05, 1, 0x0200, "Slot Type", kSlotTypes),
    Enum(9, 0x06, 1, 0x0200, "Slot Data Bus Width", kSlotWidths),
    Enum(9, 0x07, 1, 0x0200, "Current Usage", kSlotUsages),
    Enum(9, 0x08, 1, 0x0200, "Slot Length", kSlotLengths),
    Number(9, 0x09, 2, 0x0200, "Slot ID").In(Unit::kSlotId),
    Flags(9, 0x0B, 1, 0x0200, "Slot Characteristics 1", 0, kSlotCharacteristics1),
    Flags(9, 0x0C, 1, 0x0201, "Slot Characteristics 2", 0, kSlotCharacteristics2),
    Number(9, 0x0D, 2, 0x0206, "Segment Group Number"),
    Number(9, 0x0F, 1, 0x0206, "Bus Number"),
    Number(9, 0x10, 1, 0x0206, "Device/Function Number"),
    Number(9, 0x11, 1, 0x0302, "Data Bus Width"),
    Number(9, 0x12, 1, 0x0302, "Peer (S/B/D/F/Width) grouping count"),
    Number(9, 0x00, 2, 0x0302, "Peer Segment Group Number").InItem(0),
    Number(9, 0x02, 1, 0x0302, "Peer Bus Number").InItem(0),
    Number(9, 0x03, 1, 0x0302, "Peer Device/Function Number").InItem(0),
    Number(9, 0x04, 1, 0x0302, "Peer Data Bus Width").InItem(0),
    Number(9, 0x00, 1, 0x0304, "Slot Information").After(0),
    Enum(9, 0x01, 1, 0x0304, "Slot Physical Width", kSlotWidths).After(0),
    Number(9, 0x02, 2, 0x0304, "Slot Pitch").In(Unit::kHundredthMillimetres).After(0),
    Enum(9, 0x04, 1, 0x0305, "Slot Height", kSlotHeights).After(0),
    // 7.11 On Board Devices (obsolete): pairs of type (bit 7: enabled) and string
    // from 04h; its types are the first ten of 7.42.2.
    Enum(10, 0x00, 1, 0x0200, "Device Type", Words(kDeviceTypes).first(10), 0x7F).InItem(0),
    Flags(10, 0x00, 1, 0x0200, "Device Type", 0, kDeviceStatus).InItem(0),
    String(10, 0x01, 0x0200, "Description String").InItem(0),
    // 7.12 OEM Strings, 7.13 System Configuration Options: the count of strings.
    Number(11, 0x04, 1, 0x0200, "Count"),
    Number(12, 0x04, 1, 0x0200, "Count"),
    // 7.14 BIOS Language Information
    Number(13, 0x04, 1, 0x0200, "Installable Languages"),
    Flags(13, 0x05, 1, 0x0200, "Flags", 0xFE, kLanguageFlags),
    Zero(13, 0x06, 15, 0x0200, "Reserved"),
    String(13, 0x15, 0x0200, "Current Language"),
    // 7.15 Group Associations: items of a type and a handle from 05h.
    String(14, 0x04, 0x0200, "Group Name"),
    Number(14, 0x00, 1, 0x0200, "Item Type").InItem(0),
    Handle(14, 0x01, 0x0200, "Item Handle", TypeSet{~uint64_t{0}, ~uint64_t{0}}).InItem(0),
    // 7.16 System Event Log: log type descriptors from 17h.
    Number(15, 0x04, 2, 0x0200, "Log Area Length").In(Unit::kBytes),
    Number(15, 0x06, 2, 0x0200, "Log Header Start Offset"),
    Number(15, 0x08, 2, 0x0200, "Log Data Start Offset"),
    Enum(15, 0x0A, 1, 0x0200, "Access Method", kAccessMethods),
    Flags(15, 0x0B, 1, 0x0200, "Log Status", 0xFC, kLogStatus),
    Number(15, 0x0C, 4, 0x0200, "Log Change Token"),
    Number(15, 0x10, 4, 0x0200, "Access Method Address"),
    Enum(15, 0x14, 1, 0x0201, "Log Header Format", kLogHeaderFormats),
    Number(15, 0x15, 1, 0x0201, "Number of Supported Log Type Descriptors"),
    Number(15, 0x16, 1, 0x0201, "Length of each Log Type Descriptor"),
    Enum(15, 0x00, 1, 0x0201, "Log Type", kLogTypes).InItem(0),
    Enum(15, 0x01, 1, 0x0201, "Variable Data Format Type", kLogDataFormats).InItem(0),
};

constexpr VariablePart kParts[] = {
    // 7.6: n handles from 0Fh, n at 0Eh; 7.10: n peer groups of 5 bytes from 13h.
    {.type = 5, .since = 0x0200, .name = "Memory Module Configuration Handles", .start = 0x0F, .count_at = 0x0E,
     .item_size = 2},
    {.type = 9, .since = 0x0302, .name = "Peer Groups", .start = 0x13, .count_at = 0x12, .item_size = 5},
    // 7.11: (length - 4) / 2 devices; 7.15: (length - 5) / 3 items.
    {.type = 10, .since = 0x0200, .name = "Devices", .start = 0x04, .count = PartCount::kFills, .item_size = 2},
    {.type = 14, .since = 0x0200, .name = "Items", .start = 0x05, .count = PartCount::kFills, .item_size = 3},
    // 7.16.1: n descriptors of m bytes from 17h.
    {.type = 15, .since = 0x0201, .name = "List of Supported Event Log Type Descriptors", .start = 0x17,
     .count_at = 0x15, .size = ItemSize::kAt, .size_at = 0x16},
};

// The minimums of the Length row of 7.10: 0Ch for 2.0, 0Dh for 2.1 to 2.5,
// 11h for 2.6 to 3.1.1, a minimum of 11h from 3.2 (the peer groups and
// the fields after them, 3.2 and later, are not required).
constexpr StatedLength kLengths[] = {
    {9, 0x0200, 0x0C}, {9, 0x0201, 0x0D}, {9, 0x0206, 0x11}, {9, 0x0302, 0x11},
};

}  // namespace

TypeGroup DeviceTypes() { return {5, 15, kRows, kParts, kLengths}; }

}  // namespace tarnwick
