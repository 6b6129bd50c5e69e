// The modules and processors one by one, and the kernel's files of
// /sys/class/dmi/id, read from built tables.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "smbios/inventory_records.h"
#include "smbios/kernel_dmi_fields.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

TableModel Model(const Bytes& raw) { return ReadTableModel(raw.data(), static_cast<uint32_t>(raw.size())); }

TEST(InventoryRecords, SpeedsSizesAndCountsFromTheirExtendedFields) {
  // Memory Device of 3.3: size 7FFFh sends to the Extended Size (1Ch), speed FFFFh to the Extended Speed (54h).
  const FieldStructure extended{17, 1, 0x58, {{0x0C, 0xFF}, {0x0D, 0x7F}, {0x1D, 0x01}, {0x15, 0xFF}, {0x16, 0xFF},
                                             {0x54, 0x40}, {0x55, 0x1F}, {0x57, 0x80}, {0x10, 1}}, {"DIMM 1"}};
  const FieldStructure short_one{17, 2, 0x15, {{0x0C, 0x00}, {0x0D, 0x82}, {0x0E, 0x09}}, {}};  // 512 KB, no speed
  const FieldStructure empty_slot{17, 3, 0x28, {}, {}};
  // Processors: FFh counts send to the words at 2Ah and 2Eh; an unpopulated socket is left out.
  const FieldStructure populated{4, 4, 0x30, {{0x18, 0x41}, {0x23, 0xFF}, {0x25, 0xFF}, {0x2A, 0x00}, {0x2B, 0x01},
                                              {0x2E, 0x00}, {0x2F, 0x02}, {0x04, 1}}, {"CPU 1"}};
  const FieldStructure unpopulated{4, 5, 0x30, {{0x18, 0x01}, {0x23, 4}}, {}};
  const Bytes raw = RawTable(FieldTable({extended, short_one, empty_slot, populated, unpopulated}), 3, 3);
  const TableModel model = Model(raw);

  const std::vector<MemoryDeviceRecord> devices = InstalledMemoryDevices(model);
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0].size_bytes, 0x100ull << 20);  // MB
  EXPECT_EQ(devices[0].speed_mts, 8000u);  // bit 31 reserved
  EXPECT_EQ(devices[0].locator, "DIMM 1");
  EXPECT_EQ(devices[1].size_bytes, 512u * 1024);
  EXPECT_EQ(devices[1].speed_mts, std::nullopt);
  EXPECT_EQ(devices[1].form_factor, 9);
  EXPECT_EQ(devices[1].memory_type, 0);  // past the structure

  const std::vector<ProcessorRecord> processors = PopulatedProcessors(model);
  ASSERT_EQ(processors.size(), 1u);
  EXPECT_EQ(processors[0].socket, "CPU 1");
  EXPECT_EQ(processors[0].cores, 256u);
  EXPECT_EQ(processors[0].threads, 512u);
}

TEST(KernelDmiFields, FromTheFirstStructureLongEnoughAsTheKernelWritesThem) {
  const FieldStructure short_bios{0, 1, 0x14, {{0x04, 1}}, {"Early"}};  // no release bytes: the next one counts
  const FieldStructure bios{0, 2, 0x15, {{0x04, 1}, {0x05, 2}, {0x14, 1}}, {"Vendor", "   "}};  // minor byte past it
  const FieldStructure chassis{3, 3, 0x09, {{0x05, 0x97}, {0x06, 4}}, {"one"}};
  const Bytes raw = RawTable(FieldTable({short_bios, bios, chassis}), 2, 8);
  const TableModel model = Model(raw);
  const auto text = [&](std::string_view file) { return KernelDmiText(model, *FindKernelDmiField(file)); };
  EXPECT_EQ(text("bios_vendor"), "Early");
  EXPECT_EQ(text("bios_version"), "");       // spaces only
  EXPECT_EQ(text("bios_release"), "1.86");   // the minor byte read from the string-set: "V"
  EXPECT_EQ(text("chassis_type"), "23");     // without the lock bit
  EXPECT_EQ(text("chassis_version"), "");    // string 4 of 1
  EXPECT_EQ(text("sys_vendor"), std::nullopt);
  EXPECT_EQ(text("ec_firmware_release"), std::nullopt);
}

}  // namespace
}  // namespace tarnwick::testing
