// DSP0134 3.9 sections 7.1-7.5: BIOS, System, Baseboard, System Enclosure
// or Chassis and Processor Information.
#include "smbios/description/chassis_words.h"
#include "smbios/description/row_builders.h"
#include "smbios/description/type_groups.h"

namespace tarnwick {
namespace {

using namespace rows;

// 7.1.1, bits 0-31 of BIOS Characteristics; 32-63 are reserved for the
// BIOS vendor and the system vendor.
constexpr BitName kBiosCharacteristics[] = {
    {0x02, "Unknown"},
    {0x03, "BIOS Characteristics are not supported"}, {0x04, "ISA is supported"}, {0x05, "MCA is supported"},
    {0x06, "EISA is supported"}, {0x07, "PCI is supported"}, {0x08, "PC Card (PCMCIA) is supported"},
    {0x09, "PNP is supported"}, {0x0A, "APM is supported"}, {0x0B, "BIOS is upgradeable"},
    {0x0C, "BIOS shadowing is allowed"}, {0x0D, "VLB is supported"}, {0x0E, "ESCD support is available"},
    {0x0F, "Boot from CD is supported"}, {0x10, "Selectable boot is supported"}, {0x11, "BIOS ROM is socketed"},
    {0x12, "Boot from PC Card (PCMCIA) is supported"}, {0x13, "EDD is supported"},
    {0x14, "Japanese floppy for NEC 9800 1.2 MB is supported (int 13h)"},
    {0x15, "Japanese floppy for Toshiba 1.2 MB is supported (int 13h)"},
    {0x16, "5.25\"/360 kB floppy services are supported (int 13h)"},
    {0x17, "5.25\"/1.2 MB floppy services are supported (int 13h)"},
    {0x18, "3.5\"/720 kB floppy services are supported (int 13h)"},
    {0x19, "3.5\"/2.88 MB floppy services are supported (int 13h)"},
    {0x1A, "Print screen service is supported (int 5h)"},
    {0x1B, "8042 keyboard services are supported (int 9h)"}, {0x1C, "Serial services are supported (int 14h)"},
    {0x1D, "Printer services are supported (int 17h)"},
    {0x1E, "CGA/mono video services are supported (int 10h)"}, {0x1F, "NEC PC-98"},
};
// 7.1.2.1, 7.1.2.2: the extension bytes.
constexpr BitName kBiosExtension1[] = {
    {0x00, "ACPI is supported"}, {0x01, "USB legacy is supported"}, {0x02, "AGP is supported"},
    {0x03, "I2O boot is supported"}, {0x04, "LS-120 boot is supported"},
    {0x05, "ATAPI Zip drive boot is supported"}, {0x06, "IEEE 1394 boot is supported"},
    {0x07, "Smart battery is supported"},
};
constexpr BitName kBiosExtension2[] = {
    {0x00, "BIOS boot specification is supported"}, {0x01, "Function key-initiated network boot is supported"},
    {0x02, "Targeted content distribution is supported"}, {0x03, "UEFI is supported"},
    {0x04, "System is a virtual machine"}, {0x05, "Manufacturing mode is supported"},
    {0x06, "Manufacturing mode is enabled"},
};
constexpr Word kRomSizeUnits[] = {{0x00, "MB"}, {0x01, "GB"}};
// 7.1: FFh in the releases' bytes: firmware that does not use them, or no
// field-upgradeable embedded controller.
constexpr Word kNotSupportedFF[] = {{0xFF, "Not supported"}};
constexpr Word kSeeExtendedRomSize[] = {{0xFF, "16 MB or greater, see Extended BIOS ROM Size"}};

// 7.2.2
constexpr Word kWakeUpTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "APM Timer"}, {0x04, "Modem Ring"},
    {0x05, "LAN Remote"}, {0x06, "Power Switch"}, {0x07, "PCI PME#"}, {0x08, "AC Power Restored"},
};

// 7.3.1, 7.3.2
constexpr BitName kBoardFeatures[] = {
    {0x00, "Board is a hosting board"}, {0x01, "Board requires at least one daughter board"},
    {0x02, "Board is removable"}, {0x03, "Board is replaceable"}, {0x04, "Board is hot swappable"},
};
constexpr Word kBoardTypes[] = {
    {0x01, "Unknown"}, {0x02, "Other"}, {0x03, "Server Blade"}, {0x04, "Connectivity Switch"},
    {0x05, "System Management Module"}, {0x06, "Processor Module"}, {0x07, "I/O Module"},
    {0x08, "Memory Module"}, {0x09, "Daughter board"}, {0x0A, "Motherboard"}, {0x0B, "Processor/Memory Module"},
    {0x0C, "Processor/IO Module"}, {0x0D, "Interconnect board"},
};

// 7.4.2, 7.4.3
constexpr Word kChassisStates[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Safe"}, {0x04, "Warning"}, {0x05, "Critical"},
    {0x06, "Non-recoverable"},
};
constexpr Word kChassisSecurity[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "None"}, {0x04, "External interface locked out"},
    {0x05, "External interface enabled"},
};
constexpr BitName kChassisLock[] = {{7, "Chassis lock is present"}};  // 7.4: bit 7 of the type
constexpr Word kUnspecified[] = {{0x00, "Unspecified"}};

// 7.5.1-7.5.9
constexpr Word kProcessorTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Central Processor"}, {0x04, "Math Processor"},
    {0x05, "DSP Processor"}, {0x06, "Video Processor"},
};
constexpr Word kProcessorStatus[] = {
    {0x00, "Unknown"}, {0x01, "CPU Enabled"}, {0x02, "CPU Disabled by User through BIOS Setup"},
    {0x03, "CPU Disabled by BIOS (POST Error)"}, {0x04, "CPU is Idle, waiting to be enabled"}, {0x07, "Other"},
};
constexpr BitName kProcessorStatusBits[] = {{6, "CPU Socket Populated"}};
constexpr Word kProcessorUpgrades[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Daughter Board"}, {0x04, "ZIF Socket"},
    {0x05, "Replaceable Piggy Back"}, {0x06, "None"}, {0x07, "LIF Socket"}, {0x08, "Slot 1"}, {0x09, "Slot 2"},
    {0x0A, "370-pin Socket"}, {0x0B, "Slot A"}, {0x0C, "Slot M"}, {0x0D, "Socket 423"},
    {0x0E, "Socket A (Socket 462)"}, {0x0F, "Socket 478"}, {0x10, "Socket 754"}, {0x11, "Socket 940"},
    {0x12, "Socket 939"}, {0x13, "Socket mPGA604"}, {0x14, "Socket LGA771"}, {0x15, "Socket LGA775"},
    {0x16, "Socket S1"}, {0x17, "Socket AM2"}, {0x18, "Socket F (1207)"}, {0x19, "Socket LGA1366"},
    {0x1A, "Socket G34"}, {0x1B, "Socket AM3"}, {0x1C, "Socket C32"}, {0x1D, "Socket LGA1156"},
    {0x1E, "Socket LGA1567"}, {0x1F, "Socket PGA988A"}, {0x20, "Socket BGA1288"}, {0x21, "Socket rPGA988B"},
    {0x22, "Socket BGA1023"}, {0x23, "Socket BGA1224"}, {0x24, "Socket BGA1155"}, {0x25, "Socket LGA1356"},
    {0x26, "Socket LGA2011"}, {0x27, "Socket FS1"}, {0x28, "Socket FS2"}, {0x29, "Socket FM1"},
    {0x2A, "Socket FM2"}, {0x2B, "Socket LGA2011-3"}, {0x2C, "Socket LGA1356-3"}, {0x2D, "Socket LGA1150"},
    {0x2E, "Socket BGA1168"}, {0x2F, "Socket BGA1234"}, {0x30, "Socket BGA1364"}, {0x31, "Socket AM4"},
    {0x32, "Socket LGA1151"}, {0x33, "Socket BGA1356"}, {0x34, "Socket BGA1440"}, {0x35, "Socket BGA1515"},
    {0x36, "Socket LGA3647-1"}, {0x37, "Socket SP3"}, {0x38, "Socket SP3r2"}, {0x39, "Socket LGA2066"},
    {0x3A, "Socket BGA1392"}, {0x3B, "Socket BGA1510"}, {0x3C, "Socket BGA1528"}, {0x3D, "Socket LGA4189"},
    {0x3E, "Socket LGA1200"}, {0x3F, "Socket LGA4677"}, {0x40, "Socket LGA1700"}, {0x41, "Socket BGA1744"},
    {0x42, "Socket BGA1781"}, {0x43, "Socket BGA1211"}, {0x44, "Socket BGA2422"}, {0x45, "Socket LGA1211"},
    {0x46, "Socket LGA2422"}, {0x47, "Socket LGA5773"}, {0x48, "Socket BGA5773"}, {0x49, "Socket AM5"},
    {0x4A, "Socket SP5"}, {0x4B, "Socket SP6"}, {0x4C, "Socket BGA883"}, {0x4D, "Socket BGA1190"},
    {0x4E, "Socket BGA4129"}, {0x4F, "Socket LGA4710"}, {0x50, "Socket LGA7529"},
    {0x51, "Socket BGA1964"}, {0x52, "Socket BGA1792"}, {0x53, "Socket BGA2049"}, {0x54, "Socket BGA2551"},
    {0x55, "Socket LGA1851"}, {0x56, "Socket BGA2114"}, {0x57, "Socket BGA2833"},
    {0xFF, "See Socket Type"},
};
constexpr BitName kProcessorCharacteristics[] = {
    {0x01, "Unknown"},
    {0x02, "64-bit capable"}, {0x03, "Multi-Core"}, {0x04, "Hardware Thread"}, {0x05, "Execute Protection"},
    {0x06, "Enhanced Virtualization"}, {0x07, "Power/Performance Control"}, {0x08, "128-bit Capable"},
    {0x09, "Arm64 SoC ID"},
};
// 7.5.2: the byte at 06h and the word at 28h share these values; FEh sends
// a reader to the word.
constexpr Word kProcessorFamilies[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "8086"}, {0x04, "80286"}, 
    {0x05, "80386"}, {0x06, "80486"}, {0x07, "8087"}, {0x08, "80287"}, 
    {0x09, "80387"}, {0x0A, "80487"}, {0x0B, "Pentium"}, {0x0C, "Pentium Pro"}, 
    {0x0D, "Pentium II"}, {0x0E, "Pentium MMX"}, {0x0F, "Celeron"}, {0x10, "Pentium II Xeon"}, 
    {0x11, "Pentium III"}, {0x12, "M1"}, {0x13, "M2"}, {0x14, "Celeron M"}, 
    {0x15, "Pentium 4 HT"}, {0x16, "Intel"}, {0x18, "Duron"}, {0x19, "K5"}, 
    {0x1A, "K6"}, {0x1B, "K6-2"}, {0x1C, "K6-3"}, {0x1D, "Athlon"}, 
    {0x1E, "AMD29000"}, {0x1F, "K6-2+"}, {0x20, "Power PC"}, {0x21, "Power PC 601"}, 
    {0x22, "Power PC 603"}, {0x23, "Power PC 603+"}, {0x24, "Power PC 604"}, {0x25, "Power PC 620"}, 
    {0x26, "Power PC x704"}, {0x27, "Power PC 750"}, {0x28, "Core Duo"}, {0x29, "Core Duo Mobile"}, 
    {0x2A, "Core Solo Mobile"}, {0x2B, "Atom"}, {0x2C, "Core M"}, {0x2D, "Core m3"}, 
    {0x2E, "Core m5"}, {0x2F, "Core m7"}, {0x30, "Alpha"}, {0x31, "Alpha 21064"}, 
    {0x32, "Alpha 21066"}, {0x33, "Alpha 21164"}, {0x34, "Alpha 21164PC"}, {0x35, "Alpha 21164a"}, 
    {0x36, "Alpha 21264"}, {0x37, "Alpha 21364"}, {0x38, "Turion II Ultra Dual-Core Mobile M"}, {0x39, "Turion II Dual-Core Mobile M"}, 
    {0x3A, "Athlon II Dual-Core M"}, {0x3B, "Opteron 6100"}, {0x3C, "Opteron 4100"}, {0x3D, "Opteron 6200"}, 
    {0x3E, "Opteron 4200"}, {0x3F, "FX"}, {0x40, "MIPS"}, {0x41, "MIPS R4000"}, 
    {0x42, "MIPS R4200"}, {0x43, "MIPS R4400"}, {0x44, "MIPS R4600"}, {0x45, "MIPS R10000"}, 
    {0x46, "C-Series"}, {0x47, "E-Series"}, {0x48, "A-Series"}, {0x49, "G-Series"}, 
    {0x4A, "Z-Series"}, {0x4B, "R-Series"}, {0x4C, "Opteron 4300"}, {0x4D, "Opteron 6300"}, 
    {0x4E, "Opteron 3300"}, {0x4F, "FirePro"}, {0x50, "SPARC"}, {0x51, "SuperSPARC"}, 
    {0x52, "MicroSPARC II"}, {0x53, "MicroSPARC IIep"}, {0x54, "UltraSPARC"}, {0x55, "UltraSPARC II"}, 
    {0x56, "UltraSPARC IIi"}, {0x57, "UltraSPARC III"}, {0x58, "UltraSPARC IIIi"}, {0x60, "68040"}, 
    {0x61, "68xxx"}, {0x62, "68000"}, {0x63, "68010"}, {0x64, "68020"}, 
    {0x65, "68030"}, {0x66, "Athlon X4"}, {0x67, "Opteron X1000"}, {0x68, "Opteron X2000"}, 
    {0x69, "Opteron A-Series"}, {0x6A, "Opteron X3000"}, {0x6B, "Zen"}, {0x70, "Hobbit"}, 
    {0x78, "Crusoe TM5000"}, {0x79, "Crusoe TM3000"}, {0x7A, "Efficeon TM8000"}, {0x80, "Weitek"}, 
    {0x82, "Itanium"}, {0x83, "Athlon 64"}, {0x84, "Opteron"}, {0x85, "Sempron"}, 
    {0x86, "Turion 64"}, {0x87, "Dual-Core Opteron"}, {0x88, "Athlon 64 X2"}, {0x89, "Turion 64 X2"}, 
    {0x8A, "Quad-Core Opteron"}, {0x8B, "Third-Generation Opteron"}, {0x8C, "Phenom FX"}, {0x8D, "Phenom X4"}, 
    {0x8E, "Phenom X2"}, {0x8F, "Athlon X2"}, {0x90, "PA-RISC"}, {0x91, "PA-RISC 8500"}, 
    {0x92, "PA-RISC 8000"}, {0x93, "PA-RISC 7300LC"}, {0x94, "PA-RISC 7200"}, {0x95, "PA-RISC 7100LC"}, 
    {0x96, "PA-RISC 7100"}, {0xA0, "V30"}, {0xA1, "Quad-Core Xeon 3200"}, {0xA2, "Dual-Core Xeon 3000"}, 
    {0xA3, "Quad-Core Xeon 5300"}, {0xA4, "Dual-Core Xeon 5100"}, {0xA5, "Dual-Core Xeon 5000"}, {0xA6, "Dual-Core Xeon LV"}, 
    {0xA7, "Dual-Core Xeon ULV"}, {0xA8, "Dual-Core Xeon 7100"}, {0xA9, "Quad-Core Xeon 5400"}, {0xAA, "Quad-Core Xeon"}, 
    {0xAB, "Dual-Core Xeon 5200"}, {0xAC, "Dual-Core Xeon 7200"}, {0xAD, "Quad-Core Xeon 7300"}, {0xAE, "Quad-Core Xeon 7400"}, 
    {0xAF, "Multi-Core Xeon 7400"}, {0xB0, "Pentium III Xeon"}, {0xB1, "Pentium III Speedstep"}, {0xB2, "Pentium 4"}, 
    {0xB3, "Xeon"}, {0xB4, "AS400"}, {0xB5, "Xeon MP"}, {0xB6, "Athlon XP"}, 
    {0xB7, "Athlon MP"}, {0xB8, "Itanium 2"}, {0xB9, "Pentium M"}, {0xBA, "Celeron D"}, 
    {0xBB, "Pentium D"}, {0xBC, "Pentium EE"}, {0xBD, "Core Solo"}, {0xBE, "Core 2 or K7"}, {0xBF, "Core 2 Duo"}, 
    {0xC0, "Core 2 Solo"}, {0xC1, "Core 2 Extreme"}, {0xC2, "Core 2 Quad"}, {0xC3, "Core 2 Extreme Mobile"}, 
    {0xC4, "Core 2 Duo Mobile"}, {0xC5, "Core 2 Solo Mobile"}, {0xC6, "Core i7"}, {0xC7, "Dual-Core Celeron"}, 
    {0xC8, "IBM390"}, {0xC9, "G4"}, {0xCA, "G5"}, {0xCB, "ESA/390 G6"}, 
    {0xCC, "z/Architecture"}, {0xCD, "Core i5"}, {0xCE, "Core i3"}, {0xCF, "Core i9"}, 
    {0xD2, "C7-M"}, {0xD3, "C7-D"}, {0xD4, "C7"}, {0xD5, "Eden"}, 
    {0xD6, "Multi-Core Xeon"}, {0xD7, "Dual-Core Xeon 3xxx"}, {0xD8, "Quad-Core Xeon 3xxx"}, {0xD9, "Nano"}, 
    {0xDA, "Dual-Core Xeon 5xxx"}, {0xDB, "Quad-Core Xeon 5xxx"}, {0xDD, "Dual-Core Xeon 7xxx"}, {0xDE, "Quad-Core Xeon 7xxx"}, 
    {0xDF, "Multi-Core Xeon 7xxx"}, {0xE0, "Multi-Core Xeon 3400"}, {0xE4, "Opteron 3000"}, {0xE5, "Sempron II"}, 
    {0xE6, "Embedded Opteron Quad-Core"}, {0xE7, "Phenom Triple-Core"}, {0xE8, "Turion Ultra Dual-Core Mobile"}, {0xE9, "Turion Dual-Core Mobile"}, 
    {0xEA, "Athlon Dual-Core"}, {0xEB, "Sempron SI"}, {0xEC, "Phenom II"}, {0xED, "Athlon II"}, 
    {0xEE, "Six-Core Opteron"}, {0xEF, "Sempron M"}, {0xFA, "i860"}, {0xFB, "i960"}, {0xFE, "See Processor Family 2"}, 
    {0x100, "ARMv7"}, {0x101, "ARMv8"}, {0x102, "ARMv9"}, {0x103, "ARM"}, 
    {0x104, "SH-3"}, {0x105, "SH-4"}, {0x118, "ARM"}, {0x119, "StrongARM"}, 
    {0x12C, "6x86"}, {0x12D, "MediaGX"}, {0x12E, "MII"}, {0x140, "WinChip"}, 
    {0x15E, "DSP"}, {0x1F4, "Video Processor"}, {0x200, "RV32"}, {0x201, "RV64"}, 
    {0x202, "RV128"}, {0x258, "LoongArch"}, {0x259, "Loongson 1"}, {0x25A, "Loongson 2"}, 
    {0x25B, "Loongson 3"}, {0x25C, "Loongson 2K"}, {0x25D, "Loongson 3A"}, {0x25E, "Loongson 3B"}, 
    {0x25F, "Loongson 3C"}, {0x260, "Loongson 3D"}, {0x261, "Loongson 3E"}, {0x262, "Dual-Core Loongson 2K 2xxx"}, 
    {0x26C, "Quad-Core Loongson 3A 5xxx"}, {0x26D, "Multi-Core Loongson 3A 5xxx"}, {0x26E, "Quad-Core Loongson 3B 5xxx"}, {0x26F, "Multi-Core Loongson 3B 5xxx"}, 
    {0x270, "Multi-Core Loongson 3C 5xxx"}, {0x271, "Multi-Core Loongson 3D 5xxx"}, 
};

// 7.5.4: with bit 7 clear, bits 0-2 name the voltages the socket takes.
constexpr BitName kLegacyVoltages[] = {{0, "5V"}, {1, "3.3V"}, {2, "2.9V"}};
constexpr Word kNotSet[] = {{0x0000, "Unknown"}};
// 7.5: FFFFh in a cache handle, in 2.1 and 2.2: no cache of the level (from
// 2.3 on: no Cache Information structure provided, Unit::kCacheHandle).
constexpr Word kNoL1Cache[] = {{0xFFFF, "No L1 cache"}};
constexpr Word kNoL2Cache[] = {{0xFFFF, "No L2 cache"}};
constexpr Word kNoL3Cache[] = {{0xFFFF, "No L3 cache"}};


constexpr FieldRow kRows[] = {
    // 7.1 BIOS Information
    String(0, 0x04, 0x0200, "Vendor"),
    String(0, 0x05, 0x0200, "BIOS Version"),
    Number(0, 0x06, 2, 0x0200, "BIOS Starting Address Segment").In(Unit::kSegment),
    String(0, 0x08, 0x0200, "BIOS Release Date"),
    Number(0, 0x09, 1, 0x0200, "BIOS ROM Size").In(Unit::kRomSize).Meaning(kSeeExtendedRomSize),
    Flags(0, 0x0A, 8, 0x0200, "BIOS Characteristics", 0x3, kBiosCharacteristics),
    // Extension bytes: zero or more before 2.4, both from 2.4 on.
    Flags(0, 0x12, 1, kNoVersion, "BIOS Characteristics Extension Byte 1", 0, kBiosExtension1),
    Flags(0, 0x13, 1, kNoVersion, "BIOS Characteristics Extension Byte 2", 0x80, kBiosExtension2),
    Number(0, 0x14, 1, 0x0204, "System BIOS Major Release").Meaning(kNotSupportedFF),
    Number(0, 0x15, 1, 0x0204, "System BIOS Minor Release").Meaning(kNotSupportedFF),
    Number(0, 0x16, 1, 0x0204, "Embedded Controller Firmware Major Release").Meaning(kNotSupportedFF),
    Number(0, 0x17, 1, 0x0204, "Embedded Controller Firmware Minor Release").Meaning(kNotSupportedFF),
    Enum(0, 0x18, 2, 0x0301, "Extended BIOS ROM Size", kRomSizeUnits, 0xC000).In(Unit::kExtendedRomSize),
    // 7.2 System Information
    String(1, 0x04, 0x0200, "Manufacturer"),
    String(1, 0x05, 0x0200, "Product Name"),
    String(1, 0x06, 0x0200, "Version"),
    String(1, 0x07, 0x0200, "Serial Number"),
    Number(1, 0x08, 16, 0x0201, "UUID").In(Unit::kUuid),
    Enum(1, 0x18, 1, 0x0201, "Wake-up Type", kWakeUpTypes),
    String(1, 0x19, 0x0204, "SKU Number"),
    String(1, 0x1A, 0x0204, "Family"),
    // 7.3 Baseboard: the fields from 08h on carry no version; readers accept 08h.
    String(2, 0x04, 0x0200, "Manufacturer"),
    String(2, 0x05, 0x0200, "Product"),
    String(2, 0x06, 0x0200, "Version"),
    String(2, 0x07, 0x0200, "Serial Number"),
    String(2, 0x08, kNoVersion, "Asset Tag"),
    Flags(2, 0x09, 1, kNoVersion, "Feature Flags", 0xE0, kBoardFeatures),
    String(2, 0x0A, kNoVersion, "Location in Chassis"),
    Handle(2, 0x0B, kNoVersion, "Chassis Handle", Types({3})),
    Enum(2, 0x0D, 1, kNoVersion, "Board Type", kBoardTypes),
    Number(2, 0x0E, 1, kNoVersion, "Number of Contained Object Handles"),
    Handle(2, 0x00, kNoVersion, "Contained Object Handle", TypeSet{~uint64_t{0}, ~uint64_t{0}}).InItem(0),
    // 7.4 System Enclosure or Chassis; bit 7 of the type is the lock.
    String(3, 0x04, 0x0200, "Manufacturer"),
    Enum(3, 0x05, 1, 0x0200, "Type", kChassisTypeWords, 0x7F),
    Flags(3, 0x05, 1, 0x0200, "Type", 0, kChassisLock),
    String(3, 0x06, 0x0200, "Version"),
    String(3, 0x07, 0x0200, "Serial Number"),
    String(3, 0x08, 0x0200, "Asset Tag Number"),
    Enum(3, 0x09, 1, 0x0201, "Boot-up State", kChassisStates),
    Enum(3, 0x0A, 1, 0x0201, "Power Supply State", kChassisStates),
    Enum(3, 0x0B, 1, 0x0201, "Thermal State", kChassisStates),
    Enum(3, 0x0C, 1, 0x0201, "Security Status", kChassisSecurity),
    Number(3, 0x0D, 4, 0x0203, "OEM-defined"),
    Number(3, 0x11, 1, 0x0203, "Height").In(Unit::kRackUnits).Meaning(kUnspecified),
    Number(3, 0x12, 1, 0x0203, "Number of Power Cords").Meaning(kUnspecified),
    Number(3, 0x13, 1, 0x0203, "Contained Element Count"),
    Number(3, 0x14, 1, 0x0203, "Contained Element Record Length"),
    // 7.4.4: bit 7 of the type byte: a structure type (bits 6-0), else a
    // baseboard type (7.3.2).
    Number(3, 0x00, 1, 0x0203, "Contained Element Type").InItem(0),
    Number(3, 0x01, 1, 0x0203, "Contained Element Minimum").InItem(0),
    Number(3, 0x02, 1, 0x0203, "Contained Element Maximum").InItem(0),
    String(3, 0x00, 0x0207, "SKU Number").After(0),
    Number(3, 0x01, 1, 0x0309, "Rack Type").After(0),
    Number(3, 0x02, 1, 0x0309, "Rack Height").In(Unit::kRackUnits).Meaning(kUnspecified).After(0),
    // 7.5 Processor Information
    String(4, 0x04, 0x0200, "Socket Designation"),
    Enum(4, 0x05, 1, 0x0200, "Processor Type", kProcessorTypes),
    Enum(4, 0x06, 1, 0x0200, "Processor Family", kProcessorFamilies),
    String(4, 0x07, 0x0200, "Processor Manufacturer"),
    Number(4, 0x08, 8, 0x0200, "Processor ID").In(Unit::kHexBytes),
    String(4, 0x10, 0x0200, "Processor Version"),
    Flags(4, 0x11, 1, 0x0200, "Voltage", 0, kLegacyVoltages).In(Unit::kProcessorVoltage),
    Number(4, 0x12, 2, 0x0200, "External Clock").In(Unit::kMegahertz).Meaning(kNotSet),
    Number(4, 0x14, 2, 0x0200, "Max Speed").In(Unit::kMegahertz).Meaning(kNotSet),
    Number(4, 0x16, 2, 0x0200, "Current Speed").In(Unit::kMegahertz).Meaning(kNotSet),
    Enum(4, 0x18, 1, 0x0200, "Status", kProcessorStatus, 0x07),  // 5 and 6 reserved
    Flags(4, 0x18, 1, 0x0200, "Status", 0xB8, kProcessorStatusBits),
    Enum(4, 0x19, 1, 0x0200, "Processor Upgrade", kProcessorUpgrades),
    Handle(4, 0x1A, 0x0201, "L1 Cache Handle", Types({7}), kNoL1Cache).In(Unit::kCacheHandle),
    Handle(4, 0x1C, 0x0201, "L2 Cache Handle", Types({7}), kNoL2Cache).In(Unit::kCacheHandle),
    Handle(4, 0x1E, 0x0201, "L3 Cache Handle", Types({7}), kNoL3Cache).In(Unit::kCacheHandle),
    String(4, 0x20, 0x0203, "Serial Number"),
    String(4, 0x21, 0x0203, "Asset Tag"),
    String(4, 0x22, 0x0203, "Part Number"),
    Number(4, 0x23, 1, 0x0205, "Core Count").Meaning(kNotSet),
    Number(4, 0x24, 1, 0x0205, "Core Enabled").Meaning(kNotSet),
    Number(4, 0x25, 1, 0x0205, "Thread Count").Meaning(kNotSet),
    Flags(4, 0x26, 2, 0x0205, "Processor Characteristics", 0xFC01, kProcessorCharacteristics),
    Enum(4, 0x28, 2, 0x0206, "Processor Family 2", kProcessorFamilies),
    Number(4, 0x2A, 2, 0x0300, "Core Count 2").Within(0, 0xFFFE).Meaning(kNotSet),
    Number(4, 0x2C, 2, 0x0300, "Core Enabled 2").Within(0, 0xFFFE).Meaning(kNotSet),
    Number(4, 0x2E, 2, 0x0300, "Thread Count 2").Within(0, 0xFFFE).Meaning(kNotSet),
    Number(4, 0x30, 2, 0x0306, "Thread Enabled").Within(0, 0xFFFE).Meaning(kNotSet),
    String(4, 0x32, 0x0308, "Socket Type"),
};

// 7.3: n contained object handles from 0Fh; 7.4: n elements of m bytes from 15h.
constexpr VariablePart kParts[] = {
    {.type = 2, .since = kNoVersion, .name = "Contained Object Handles", .start = 0x0F, .count_at = 0x0E,
     .item_size = 2},
    {.type = 3, .since = 0x0203, .name = "Contained Elements", .start = 0x15, .count_at = 0x13,
     .size = ItemSize::kAt, .size_at = 0x14},
};

// The minimums of the Length rows that are not the end of the version's
// last field. 7.1: 12h and one byte per extension byte in use, one from
// 2.1, two from 2.3, the releases from 2.4, the extended size from 3.1.
// 7.4: 09h for 2.0, a minimum of 0Dh from 2.1 (the fields from 0Dh on,
// 2.3 and later, are not required).
constexpr StatedLength kLengths[] = {
    {0, 0x0201, 0x13}, {0, 0x0203, 0x14}, {0, 0x0204, 0x18}, {0, 0x0301, 0x1A},
    {3, 0x0200, 0x09}, {3, 0x0201, 0x0D},
};

}  // namespace

TypeGroup PlatformTypes() { return {0, 4, kRows, kParts, kLengths}; }

}  // namespace tarnwick
