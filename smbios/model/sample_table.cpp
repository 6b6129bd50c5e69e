#include "smbios/model/sample_table.h"

#include <initializer_list>

#include "smbios/model/table_build.h"

namespace tarnwick {
namespace {

#define LE16(value) static_cast<uint8_t>((value) & 0xFF), static_cast<uint8_t>(((value) >> 8) & 0xFF)
#define LE32(value) LE16((value) & 0xFFFF), LE16(((value) >> 16) & 0xFFFF)

void Append(Bytes& table, uint8_t type, uint16_t handle, std::initializer_list<uint8_t> formatted,
            std::initializer_list<const char*> strings) {
  AppendStructure(table, type, handle, formatted, {strings.begin(), strings.end()});
}

constexpr uint16_t kChassisHandle = 0x0003;
constexpr uint16_t kMemoryArrayHandle = 0x0010;
constexpr uint16_t kNoErrorInformation = 0xFFFE;
constexpr uint16_t kNotProvided = 0xFFFF;

}  // namespace

Bytes SampleTable() {
  Bytes table;
  // BIOS Information, DSP0134 7.1 (3.1 layout, 1Ah bytes).
  Append(table, 0, 0x0000,
         {1, 2, LE16(0xF000), 3, 0xFF,                     // vendor, version, segment, date, ROM size: see 18h
          0x80, 0x98, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00,  // PCI, flash, shadowing, CD boot, selectable boot, EDD
          0x03, 0x0D,                                       // ACPI, USB legacy; BBS, content distribution, UEFI
          1, 42, 1, 7,                                      // BIOS release 1.42, embedded controller 1.7
          LE16(16)},                                        // 16 MB
         {"Brackenfold Firmware Works", "BF1.42.0", "03/14/2025"});
  // System Information, DSP0134 7.2 (2.4 layout, 1Bh bytes).
  Append(table, 1, 0x0001,
         {1, 2, 3, 4,
          0x3C, 0x7A, 0x51, 0xE2, 0x94, 0x0B, 0x6F, 0x4D, 0xA1, 0x28, 0x5E, 0xC3, 0x07, 0xD4, 0x19, 0x8B,  // UUID
          0x06, 5, 6},  // woken by the power switch, SKU, family
         {"Brackenfold Computing", "Quillon Q7 Workstation", "Rev. B", "BFQ7-25-004187", "Q7-WS-32G-EU",
          "Quillon"});
  // Baseboard Information, DSP0134 7.3: no contained objects.
  Append(table, 2, 0x0002,
         {1, 2, 3, 4, 5, 0x09, 6, LE16(kChassisHandle), 0x0A, 0},  // hosting board, replaceable; motherboard
         {"Brackenfold Computing", "QB-770", "1.03", "QB770-2511-2291", "BB-0042", "Mainboard"});
  // System Enclosure or Chassis, DSP0134 7.4 (2.7 layout with SKU).
  Append(table, 3, kChassisHandle,
         {1, 0x86, 2, 3, 4,       // mini tower with a chassis lock (bit 7)
          0x03, 0x03, 0x03, 0x03,  // boot-up, power supply, thermal: safe; security: none
          LE32(0), 0, 1, 0, 3, 5},  // OEM, height, one power cord, no contained elements, SKU
         {"Brackenfold Computing", "Q7 chassis v2", "BFC7-25-118830", "TW-ASSET-00417", "Q7-MT-BLK"});
  // Processor Information, DSP0134 7.5 (3.0 layout, 30h bytes).
  Append(table, 4, 0x0004,
         {1, 0x03, 0x01, 2,                                // socket, central processor, family: see 28h
          0x52, 0x0A, 0x09, 0x00, 0xFF, 0xFB, 0xEB, 0xBF,  // processor ID
          3, 0x8B,                                         // version, 1.1 V
          LE16(100), LE16(4800), LE16(3600),               // external clock, maximum and current speed, MHz
          0x41, 0x01,                                      // populated and enabled; upgrade: other
          LE16(kNotProvided), LE16(kNotProvided), LE16(kNotProvided),  // no cache structures
          4, 0, 5,                                         // serial, no asset tag, part number
          8, 8, 16,                                        // cores, enabled cores, threads
          LE16(0x00FC),                                    // 64-bit, multi-core, SMT, NX, VT, power control
          LE16(0x0001), LE16(8), LE16(8), LE16(16)},
         {"SOCKET 0", "Brackenfold Silicon", "Brackenfold BX-9 8-Core Processor @ 3.60GHz", "BX9-7F3A-21C4",
          "BX-9-8C36"});
  // OEM Strings, DSP0134 7.12.
  Append(table, 11, 0x000B, {3}, {"BF-IMAGE 25.03", "SLOT-CONF 2xDIMM", "WARRANTY 3Y"});
  // Physical Memory Array, DSP0134 7.17: system board, system memory, no ECC.
  Append(table, 16, kMemoryArrayHandle,
         {0x03, 0x03, 0x03, LE32(32u * 1024 * 1024), LE16(kNoErrorInformation), LE16(2), LE32(0), LE32(0)}, {});
  // Memory Device, DSP0134 7.18 (2.8 layout, 28h bytes): two DDR4 DIMMs.
  for (uint16_t slot = 0; slot < 2; ++slot) {
    Append(table, 17, static_cast<uint16_t>(0x0011 + slot),
           {LE16(kMemoryArrayHandle), LE16(kNoErrorInformation), LE16(64), LE16(64), LE16(16384),  // 16 GB
            0x09, 0, 1, 2, 0x1A, LE16(0x0080), LE16(3200),  // DIMM, locators, DDR4, synchronous, MT/s
            3, 4, 5, 6, 0x02,                               // maker, serial, asset tag, part; two ranks
            LE32(0), LE16(3200), LE16(1200), LE16(1200), LE16(1200)},  // configured speed, voltages in mV
           {slot == 0 ? "DIMM A1" : "DIMM B1", slot == 0 ? "CHANNEL A" : "CHANNEL B", "Brackenfold Memory",
            slot == 0 ? "4E21A09C" : "4E21A0B7", slot == 0 ? "MEM-ASSET-A1" : "MEM-ASSET-B1", "BFM-16G3200-2R"});
  }
  // Memory Array Mapped Address, DSP0134 7.20: 32 GB from address 0.
  Append(table, 19, 0x0013,
         {LE32(0), LE32(32u * 1024 * 1024 - 1), LE16(kMemoryArrayHandle), 2, LE32(0), LE32(0), LE32(0), LE32(0)},
         {});
  // System Boot Information, DSP0134 7.33: no errors detected.
  Append(table, 32, 0x0020, {0, 0, 0, 0, 0, 0, 0}, {});
  // Cache Information, DSP0134 7.8 (3.1 layout, 1Bh bytes): a level-1
  // write-back cache of 512 KB, internal, enabled.
  Append(table, 7, 0x0007,
         {1, LE16(0x0180), LE16(512), LE16(512), LE16(0x0020), LE16(0x0020),  // synchronous SRAM
          1, 0x06, 0x05, 0x08, LE32(512), LE32(512)},  // 1 ns, multi-bit ECC, unified, 16-way
         {"L1 Cache"});
  // System Slots, DSP0134 7.10 (2.6 layout, 11h bytes): a free PCI Express
  // x16 slot on bus 1. With the cache, the structures every table from 2.3
  // on holds (DSP0134 6.2).
  Append(table, 9, 0x0009, {1, 0xA5, 0x0D, 0x03, 0x04, LE16(1), 0x04, 0x01, LE16(0), 0x01, 0x00}, {"PCIE1"});
  AppendEndOfTable(table, 0x00FF);
  return InServiceLayout(3, 1, 0, table);  // SMBIOS 3.1, no DMI revision
}

#undef LE16
#undef LE32

}  // namespace tarnwick
