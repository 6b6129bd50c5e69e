// The model of a table: every structure in walk order, past the index's cap,
// with its place, handle and strings; the version as firmware means it.
#include <gtest/gtest.h>

#include <tuple>

#include "host/export_table.h"
#include "host/exports.h"
#include "plugin/kernel_dmi_answers.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/inventory.h"
#include "smbios/model/kernel_dmi_table.h"
#include "smbios/reading/string_set.h"
#include "smbios/model/table_model.h"
#include "smbios/model/udev_memory_table.h"
#include "tests/support/recording_host.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

TEST(TableModel, EveryStructureWithItsPlaceHandleAndStrings) {
  std::vector<Structure> structures;
  for (uint16_t i = 0; i < kMaxStructures + 100; ++i) {
    structures.push_back({static_cast<uint8_t>(i % 3), static_cast<uint16_t>(0x100 + i), Formatted(i % 5),
                          i % 4 == 0 ? std::vector<std::string>{} : std::vector<std::string>(i % 4, std::to_string(i))});
  }
  structures.push_back({127, 0xFFFF, {}, {}});
  const Bytes table = BareTable(structures);
  const struct {
    const char* name;
    Bytes bytes;
    bool header;
  } cases[] = {{"bare", table, false}, {"behind a header", RawTable(table, 3, 4), true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(LoadTable(c.bytes), 0);
    const TableModel model = ReadTableModel(HeldTable());
    EXPECT_EQ(g_structure_index.count, kMaxStructures);
    ASSERT_EQ(model.structures.size(), structures.size());
    EXPECT_EQ(model.header.has_value(), c.header);
    EXPECT_EQ(model.table.size(), table.size());
    EXPECT_EQ(model.walk.end, WalkEnd::kEndOfTable);
    uint32_t position = 0;
    for (size_t i = 0; i < structures.size(); ++i) {
      const Structure& expected = structures[i];
      const auto& got = model.structures[i];
      EXPECT_EQ(got.position, position);
      EXPECT_EQ(got.type, expected.type);
      EXPECT_EQ(got.handle, expected.handle);
      EXPECT_EQ(got.length, 4 + expected.formatted.size());
      ASSERT_EQ(got.strings.size(), expected.strings.size());
      for (size_t n = 0; n < expected.strings.size(); ++n) EXPECT_EQ(got.String(n + 1u), expected.strings[n]);
      EXPECT_FALSE(got.String(0) || got.String(static_cast<uint32_t>(expected.strings.size() + 1)));
      position += got.size;
    }
    EXPECT_EQ(position, table.size());
    ShutdownPlugin(0);
  }
}

// A field reads little-endian and only inside the formatted area (08h
// bytes here); a string field gives the string its byte selects.
TEST(TableModel, FieldsReadOnlyInsideTheFormattedArea) {
  const Bytes table = BareTable({{1, 0x10, Formatted(0x08, {{4, 1}, {5, 3}, {6, 0x34}, {7, 0x12}}), {"Maker", "v2"}}});
  const TableModel model = ReadTableModel(table);
  const tarnwick::Structure& s = model.structures.at(0);
  const std::pair<std::pair<uint32_t, uint32_t>, std::optional<uint64_t>> fields[] = {
      {{0, 1}, 1}, {{2, 2}, 0x10}, {{6, 2}, 0x1234}, {{0, 8}, 0x12340301'00100801}, {{7, 1}, 0x12},
      {{7, 2}, std::nullopt}, {{8, 1}, std::nullopt}, {{0, 9}, std::nullopt}, {{4, 0}, std::nullopt}};
  for (const auto& [at, value] : fields) EXPECT_EQ(s.Field(at.first, at.second), value) << at.first << '+' << at.second;
  EXPECT_EQ(s.StringField(4), "Maker");
  EXPECT_EQ(s.StringField(5), "");  // number 3, past the set
  EXPECT_EQ(s.StringField(8), std::nullopt);
}

TEST(TableModel, FirmwaresOddVersionsReadAsTheKernelAndDmidecodeMendThem) {
  const struct {
    SmbiosVersion stated, meant;
  } cases[] = {{{2, 31}, {2, 3}}, {{2, 33}, {2, 3}}, {{2, 51}, {2, 6}}, {{2, 5}, {2, 5}},
               {{2, 40}, {2, 40}}, {{3, 51}, {3, 51}}, {{2, 32}, {2, 32}}};
  for (const auto& c : cases) {
    const SmbiosVersion got = EffectiveVersion(c.stated);
    EXPECT_EQ(got.major << 8 | got.minor, c.meant.major << 8 | c.meant.minor) << int(c.stated.minor);
  }
}

// A service header stands in front only of a table it describes exactly,
// which holds at least one structure (4 bytes and two NULs).
TEST(TableModel, AServiceHeaderStandsOnlyBeforeATableItDescribes) {
  const struct {
    uint8_t major;
    uint32_t stated, behind;
    bool fits;
  } cases[] = {{3, 6, 6, true}, {2, 5, 5, false}, {3, 0, 0, false}, {3, 7, 6, false}, {3, 6, 7, false},
               {1, 6, 6, false}, {10, 6, 6, true}, {11, 6, 6, false}};
  for (const auto& c : cases) {
    Bytes bytes(kServiceHeaderSize + c.behind, 0);
    WriteServiceHeader({c.major, 0, 0, c.stated}, bytes.data());
    EXPECT_EQ(ServiceHeaderFits(bytes.data(), bytes.size()), c.fits) << c.stated << ' ' << c.behind;
  }
}

TEST(TableModel, StringSetWalkStopsAtItsEnd) {
  const uint8_t set[] = {'a', 'b', 0, 'c', 0, 0, 'd'};
  EXPECT_EQ(StringAt(set, set + 7), "ab");
  EXPECT_EQ(StringAt(set + 3, set + 7), "c");
  EXPECT_EQ(StringAt(set + 5, set + 7), "");
  EXPECT_EQ(StringAt(set + 6, set + 7), "");  // no NUL before the end
  EXPECT_EQ(StringAt(set + 3, set + 4), "");
  EXPECT_EQ(SplitStringSet(set, set + 7), (std::vector<std::string_view>{"ab", "c"}));
}

// The files of /sys/class/dmi/id as the kernel writes them, at the edges of
// their ranges, and the bytes of the table they stand for.
TEST(KernelDmiTable, TextsAtTheEdgesOfTheirRangesAndTheTableTheyStandFor) {
  const auto field = [](const char* name) { return kKernelDmiFields[KernelDmiFieldIndex(name)]; };
  const struct {
    const char* file;
    const char* text;
    bool well_formed;
  } cases[] = {{"chassis_type", "127", true}, {"chassis_type", "128", false}, {"chassis_type", "", false},
               {"bios_release", "255.255", true}, {"bios_release", "255.256", false}, {"bios_release", "1.", false},
               {"product_uuid", "0123abcd-EF01-2345-6789-abcdef012345", true},
               {"product_uuid", "0123abcd-ef01-2345-6789-abcdef01234g", false},
               {"product_uuid", "0123abcd-ef01-2345-6789-abcdef01234", false}};
  for (const auto& c : cases) EXPECT_EQ(KernelDmiTextWellFormed(field(c.file), c.text), c.well_formed) << c.text;
  KernelDmiTexts texts;
  texts[KernelDmiFieldIndex("sys_vendor")] = "M";
  texts[KernelDmiFieldIndex("chassis_type")] = "127";
  EXPECT_EQ(TableFromKernelDmiTexts(texts), (Bytes{1, 5, 1, 0, 1, 'M', 0, 0,                   // system
                                                  3, 6, 3, 0, 0, 0x7F, 0, 0,                   // chassis
                                                  127, 4, 0xFF, 0xFF, 0, 0}));                 // end of table
  // And the texts a table gives (DSP0134 7.1: release FFh FFh is none; 7.2.1:
  // the UUID, its first three fields little-endian, in lower case).
  FieldStructure system{1, 0, 0x19, {}, {}};
  for (uint8_t i = 0; i < 16; ++i) system.fields.push_back({uint8_t(0x08 + i), uint8_t(i * 0x11)});
  const struct {
    const char* file;
    FieldStructure structure;
    std::optional<std::string> text;
  } reads[] = {{"bios_release", {0, 0, 0x18, {{0x14, 0xFF}, {0x15, 0xFF}}, {}}, std::nullopt},
               {"bios_release", {0, 0, 0x18, {{0x14, 0xFF}, {0x15, 0x00}}, {}}, "255.0"},
               {"product_uuid", system, "33221100-5544-7766-8899-aabbccddeeff"}};
  for (const auto& r : reads) {
    const Bytes table = FieldTable({r.structure});
    EXPECT_EQ(KernelDmiText(ReadTableModel(table), field(r.file)), r.text) << r.file;
  }
  // A name answers from them only when every file it reads was read; of
  // udev's memory device, a field without a handle (udev gives none).
  UdevMemoryDevices memory;
  ASSERT_TRUE(AddUdevMemoryProperty("MEMORY_DEVICE_0_TYPE=DDR4", &memory));
  const struct {
    const char16_t* name;
    const char16_t* argument;
    const char* unread;  // the one file not read, or none
    bool exact;
  } answers[] = {{u"_smbassettag", u"", nullptr, true},
                 {u"_smbassettag", u"", "board_asset_tag", false},
                 {u"_smbassettag", u"", "chassis_asset_tag", false},
                 {u"_smbbox", u"", "chassis_type", false},
                 {u"@smbbyte", u"17,0x12", nullptr, true},
                 {u"@smbbyte", u"17,0x12,0x30", nullptr, false}};
  for (const auto& a : answers) {
    KernelDmiUnread unread{};
    if (a.unread != nullptr) unread[KernelDmiFieldIndex(a.unread)] = true;
    EXPECT_EQ(KernelDmiAnswersExactly(texts, unread, memory, *FindName(a.name), a.argument), a.exact)
        << Narrow(std::u16string(a.name)) << '(' << Narrow(std::u16string(a.argument)) << ") "
        << (a.unread ? a.unread : "every file read");
  }
}

// udev's sizes in bytes come back as sizes the table's readers read alike
// (DSP0134 7.18.5: MB, KB with bit 15, 7FFFh and Extended Size); PRESENT=0
// is no module, no size unknown; a gap in the numbers hides every place.
// Only the fields a property gives count as given: not a size unknown, nor
// a string past the set.
TEST(TableModel, MemoryDevicesFromUdevProperties) {
  const struct {
    const char* property;  // of device 0
    uint16_t size_word;
    uint64_t kilobytes;    // 0: no module installed
    std::vector<uint32_t> given;
    uint8_t length = 0x22;  // 54h with the fields of SMBIOS 3.2
  } cases[] = {{"SIZE=17179869184", 16384, 16u << 20, {0x0C}}, {"SIZE=524288", 0x8200, 512, {0x0C}},
               {"SIZE=68719476736", 0x7FFF, 64u << 20, {0x0C, 0x1C}},
               {"SIZE=34358689792", 0x7FFF, 32767u << 10, {0x0C, 0x1C}}, {"PRESENT=0", 0, 0, {0x0C}},
               {"LOCATOR=Not Specified", 0xFFFF, 0, {0x10}}, {"LOCATOR=<BAD INDEX>", 0xFFFF, 0, {}},
               {"TYPE_DETAIL=Synchronous Unbuffered (Unregistered)", 0xFFFF, 0, {0x13}},
               {"TYPE_DETAIL=Synchronous Bogus", 0xFFFF, 0, {}}, {"MEMORY_TECHNOLOGY=DRAM", 0xFFFF, 0, {0x28}, 0x54},
               {"MEMORY_TECHNOLOGY=<OUT OF SPEC>", 0xFFFF, 0, {}, 0x54}};
  for (const auto& c : cases) {
    UdevMemoryDevices devices;
    ASSERT_TRUE(AddUdevMemoryProperty(std::string("MEMORY_DEVICE_0_") + c.property, &devices));
    const Bytes table = UdevMemoryDeviceStructures(devices);
    uint64_t kilobytes = 0;
    EXPECT_EQ(std::tuple(table[1], table[0x0C] | table[0x0D] << 8, table[0x10],
                         MemoryDeviceKilobytes(table.data(), &kilobytes) ? kilobytes : 0),
              std::tuple(c.length, c.size_word, 0, c.kilobytes)) << c.property;
    EXPECT_EQ(UdevMemoryFieldsGiven(devices), std::vector<std::vector<uint32_t>>{c.given}) << c.property;
  }
  UdevMemoryDevices devices;
  for (const char* property : {"MEMORY_DEVICE_0_TYPE=ddr4", "MEMORY_DEVICE_2_FORM_FACTOR=DIMM"}) {
    ASSERT_TRUE(AddUdevMemoryProperty(property, &devices));
  }
  EXPECT_FALSE(AddUdevMemoryProperty("MEMORY_ARRAY_NUM_DEVICES=4", &devices));
  EXPECT_FALSE(ExactFirstUdevMemoryField(devices, 0x12, 1));  // device 1 skipped: places unknown
  devices[1]["TYPE"] = "<OUT OF SPEC>";
  EXPECT_EQ(ExactFirstUdevMemoryField(devices, 0x12, 1), 0x1A);
  EXPECT_FALSE(ExactFirstUdevMemoryField(devices, 0x15, 2));  // no speed given
}

}  // namespace
}  // namespace tarnwick::testing
