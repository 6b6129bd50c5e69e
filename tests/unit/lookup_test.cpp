// Finding a structure by type and handle, and fetching the string that a
// string-number byte selects: every result code and what it leaves in the
// host's buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/exports.h"
#include "host/host_interface.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/structure_lookup.h"
#include "tests/support/recording_host.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

class LookupTest : public PluginTest {
 protected:
  static const uint8_t* Entry(uint32_t i) { return g_structure_index.entries[i]; }
};

// ---------------------------------------------------------------- FindStructure

struct FindCase {
  const char* name;
  uint8_t type;
  int32_t handle;
  int expected;  // index entry, or -1 for none
};

TEST_F(LookupTest, FindStructureMatchesTypeAndHandle) {
  // Entries: 0 type 4 handle 10h; 1 type 4 handle 0; 2 type 2 handle 20h;
  // 3 type 4 handle 10h again; 4 type 2 handle FFFFh; 5 end of table.
  ASSERT_EQ(LoadTable(RawTable(BareTable({{4, 0x10, {}, {}},
                                          {4, 0x00, {}, {}},
                                          {2, 0x20, {}, {}},
                                          {4, 0x10, {}, {}},
                                          {2, 0xFFFF, {}, {}},
                                          {127, 0x30, {}, {}}}),
                               3, 4)),
            0);
  const FindCase cases[] = {
      {"handle -1 means any handle", 4, -1, 0},
      {"handle 0x10000 means any handle", 4, 0x10000, 0},
      {"handle 0x80000000 (negative) means any handle", 4, static_cast<int32_t>(0x80000000u), 0},
      {"largest int32 means any handle", 4, 0x7FFFFFFF, 0},
      {"any handle finds the first of a later type", 2, -1, 2},
      {"handle 0 matches only handle 0", 4, 0, 1},
      {"handle 0 with no such structure of the type", 2, 0, -1},
      {"same type and handle twice: the earlier", 4, 0x10, 0},
      {"handle 0xFFFF is a handle, not any", 2, 0xFFFF, 4},
      {"handle of another type's structure", 4, 0x20, -1},
      {"type absent", 3, -1, -1},
      {"end-of-table structure is findable", 127, -1, 5},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    const uint8_t* expected = c.expected < 0 ? nullptr : Entry(static_cast<uint32_t>(c.expected));
    EXPECT_EQ(FindStructure(c.type, c.handle), expected);
  }
}

TEST_F(LookupTest, FindStructureByHandleAtEveryPositionOfALongRun) {
  // 40 memory devices (type 17) with handles 0x1100 + i, behind a type-2
  // structure bearing each of their handles first and before a second
  // device of handle 0x1100 + 37: every entry is found at its own position,
  // the earlier of two equal ones wins, another type's handle never matches.
  std::vector<Structure> structures;
  for (uint16_t i = 0; i < 40; ++i) structures.push_back({2, uint16_t(0x1100 + i), {}, {}});
  for (uint16_t i = 0; i < 40; ++i) structures.push_back({17, uint16_t(0x1100 + i), {}, {}});
  structures.push_back({17, 0x1100 + 37, {}, {}});
  ASSERT_EQ(LoadTable(BareTable(structures)), 0);
  // Each structure is its 4-byte header and the two NULs of an empty set.
  const auto at = [](uint32_t i) -> const uint8_t* { return g_firmware_table.buffer + 6 * i; };
  for (uint16_t i = 0; i < 40; ++i) {
    SCOPED_TRACE("handle " + std::to_string(0x1100 + i));
    EXPECT_EQ(FindStructure(17, 0x1100 + i), at(40u + i));
    EXPECT_EQ(FindStructure(2, 0x1100 + i), at(i));
  }
  EXPECT_EQ(FindStructure(17, 0x1100 + 40), nullptr);
  EXPECT_EQ(FindStructure(17, 0x0011), nullptr);  // the bytes of 0x1100 swapped
}

TEST_F(LookupTest, FindStructureOnAnEmptyIndexFindsNothing) {
  // Never loaded (or released), and after a failed load.
  ShutdownPlugin(0);
  EXPECT_EQ(FindStructure(0, kAnyHandle), nullptr);
  EXPECT_EQ(FindStructure(0, 0), nullptr);
  ASSERT_EQ(LoadTable(RawTable(BareTable({{0, 0, {}, {}}}), 3, 4)), 0);
  ASSERT_NE(FindStructure(0, 0), nullptr);
  ASSERT_NE(LoadTable(Bytes(16, 0xEE)), 0);  // length byte EEh, no closing pair
  EXPECT_EQ(g_structure_index.count, 0u);
  EXPECT_EQ(FindStructure(0, kAnyHandle), nullptr);
  EXPECT_EQ(FindStructure(0xEE, kAnyHandle), nullptr);
}

// ----------------------------------------------------------- GetStructureString

// A buffer with guard units behind the host's 8192, so that a write past the
// bound shows up as a changed guard.
struct GuardedBuffer {
  static constexpr char16_t kGuard = 0xFFFF;
  std::vector<char16_t> units = std::vector<char16_t>(kMaxArgLen + 16, kGuard);

  explicit GuardedBuffer(const std::u16string& prefill) {
    std::copy(prefill.begin(), prefill.end(), units.begin());
    units[prefill.size()] = 0;
  }
  char16_t* data() { return units.data(); }
  std::u16string Text() const { return std::u16string(units.data()); }
  bool GuardsIntact() const {
    for (size_t i = kMaxArgLen; i < units.size(); ++i) {
      if (units[i] != kGuard) return false;
    }
    return true;
  }
};

constexpr char16_t kPrefill[] = u"keep";

struct StringCase {
  const char* name;
  uint32_t entry;
  uint32_t offset;
  int32_t result;
  std::u16string text;  // kPrefill: nothing written
};

TEST_F(LookupTest, StringFetchResultsAndTexts) {
  const Bytes table = BareTable({
      // 0: string numbers 1, 2, 3, 200 and 0 at offsets 4 to 8.
      {1, 0, Formatted(9, {{4, 1}, {5, 2}, {6, 3}, {7, 200}}), {"AB", "CD"}},
      // 1: no strings at all, just the two NULs.
      {2, 1, Formatted(6, {{4, 1}}), {}},
      // 2: a header and nothing else, though strings follow.
      {3, 2, {}, {"AB"}},
      // 3: bytes from 80h up, and the control bytes below 20h and 7Fh.
      {5, 3, Formatted(6, {{4, 1}, {5, 2}}), {"\x80\xE9\xFF", "a\x01\x7F"}},
  });
  ASSERT_EQ(LoadTable(RawTable(table, 3, 4)), 0);
  const StringCase cases[] = {
      {"string 1", 0, 4, kStringFound, u"AB"},
      {"string 2", 0, 5, kStringFound, u"CD"},
      {"string 3 of 2", 0, 6, kStringMissing, u"N/A"},
      {"string 200 of 2", 0, 7, kStringMissing, u"N/A"},
      {"string number 0", 0, 8, kStringFound, u"N/A"},
      {"offset 3, inside the header", 0, 3, kStringBadOffset, kPrefill},
      {"offset 0", 0, 0, kStringBadOffset, kPrefill},
      {"offset equal to the length", 0, 9, kStringBadOffset, kPrefill},
      {"offset far past the length", 0, 0xFFFFFFFF, kStringBadOffset, kPrefill},
      {"structure without strings", 1, 4, kStringMissing, u"N/A"},
      {"length 4, offset 4", 2, 4, kStringBadOffset, kPrefill},
      {"length 4, offset 3", 2, 3, kStringBadOffset, kPrefill},
      {"bytes 80h-FFh widen to U+0080-U+00FF", 3, 4, kStringFound, u"\u0080\u00E9\u00FF"},
      {"control bytes widen unchanged", 3, 5, kStringFound, u"a\u0001\u007F"},
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.name);
    GuardedBuffer out(kPrefill);
    EXPECT_EQ(GetStructureString(Entry(c.entry), c.offset, out.data()), c.result);
    EXPECT_EQ(Narrow(out.Text()), Narrow(c.text));
    EXPECT_TRUE(out.GuardsIntact());
  }
}

TEST_F(LookupTest, StringOfTheLongestLengthThatFitsAndOneMore) {
  const std::string longest(kMaxArgLen - 1, 'a');
  const std::string too_long(kMaxArgLen, 'b');
  ASSERT_EQ(LoadTable(RawTable(BareTable({{11, 0, Formatted(6, {{4, 1}, {5, 2}}), {longest, too_long}}}), 3, 4)), 0);

  GuardedBuffer fits(kPrefill);
  EXPECT_EQ(GetStructureString(Entry(0), 4, fits.data()), kStringFound);
  EXPECT_EQ(fits.Text(), std::u16string(longest.begin(), longest.end()));
  EXPECT_EQ(fits.units[kMaxArgLen - 1], 0);
  EXPECT_TRUE(fits.GuardsIntact());

  GuardedBuffer overflows(kPrefill);
  EXPECT_EQ(GetStructureString(Entry(0), 5, overflows.data()), kStringTooLong);
  EXPECT_EQ(overflows.Text(), u"N/A");
  EXPECT_TRUE(overflows.GuardsIntact());
}

struct InvalidCase {
  const char* name;
  const uint8_t* structure;
};

TEST_F(LookupTest, StringFetchFromAStructureThatIsNotValidWritesNothing) {
  // One good structure, then a fragment whose string-set has no closing pair.
  Bytes table = BareTable({{1, 0, Formatted(6, {{4, 1}, {5, 3}}), {"AB"}}});
  const size_t fragment = table.size();
  table.insert(table.end(), {9, 6, 0, 0, 1, 0, 'A', 'B'});
  const Bytes raw = RawTable(table, 3, 4);
  ASSERT_EQ(LoadTable(raw), 0);
  ASSERT_EQ(g_structure_index.count, 1u);
  const uint8_t* good = Entry(0);
  const uint8_t* begin = g_firmware_table.buffer;
  static const uint8_t outside[] = {1, 6, 0, 0, 1, 0, 'A', 'B', 0, 0};

  const InvalidCase cases[] = {
      {"outside the table, though well formed", outside},
      {"before the table", begin - 1},
      {"on the last byte: the length byte is past the end", begin + raw.size() - 1},
      {"length byte 1 (inside the formatted area)", good + 3},
      {"no closing NUL pair before the end", begin + 8 + fragment},
  };
  for (const InvalidCase& c : cases) {
    SCOPED_TRACE(c.name);
    GuardedBuffer out(kPrefill);
    EXPECT_EQ(GetStructureString(c.structure, 4, out.data()), kStringInvalid);
    EXPECT_EQ(out.Text(), kPrefill);
  }

  // With the table released, a structure pointer from before is not valid.
  ShutdownPlugin(0);
  GuardedBuffer out(kPrefill);
  EXPECT_EQ(GetStructureString(good, 4, out.data()), kStringInvalid);
  EXPECT_EQ(out.Text(), kPrefill);
}

TEST_F(LookupTest, StringFetchWithoutStructureOrBufferWritesNothing) {
  ASSERT_EQ(LoadTable(RawTable(BareTable({{1, 0, Formatted(5, {{4, 1}}), {"AB"}}}), 3, 4)), 0);
  GuardedBuffer out(kPrefill);
  EXPECT_EQ(GetStructureString(nullptr, 4, out.data()), kStringNoInput);
  EXPECT_EQ(GetStructureString(FindStructure(9, kAnyHandle), 4, out.data()), kStringNoInput);
  EXPECT_EQ(out.Text(), kPrefill);
  EXPECT_EQ(GetStructureString(Entry(0), 4, nullptr), kStringNoInput);
  // Neither operation ever reports anything.
  EXPECT_EQ(Recorded().standard_error, u"");
}

}  // namespace
}  // namespace tarnwick::testing
