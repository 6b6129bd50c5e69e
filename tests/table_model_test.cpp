// The model of a table: every structure in walk order, past the index's cap,
// with its place, handle and strings; the version as firmware means it.
#include <gtest/gtest.h>

#include "host/exports.h"
#include "smbios/firmware_table.h"
#include "smbios/string_set.h"
#include "smbios/table_model.h"
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
    const TableModel model = LoadedTableModel();
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

TEST(TableModel, StringSetWalkStopsAtItsEnd) {
  const uint8_t set[] = {'a', 'b', 0, 'c', 0, 0, 'd'};
  EXPECT_EQ(StringAt(set, set + 7), "ab");
  EXPECT_EQ(StringAt(set + 3, set + 7), "c");
  EXPECT_EQ(StringAt(set + 5, set + 7), "");
  EXPECT_EQ(StringAt(set + 6, set + 7), "");  // no NUL before the end
  EXPECT_EQ(StringAt(set + 3, set + 4), "");
  EXPECT_EQ(SplitStringSet(set, set + 7), (std::vector<std::string_view>{"ab", "c"}));
}

}  // namespace
}  // namespace tarnwick::testing
