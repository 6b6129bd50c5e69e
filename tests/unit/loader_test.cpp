// The loader: header check, bare-table fallback, the walk and its stops,
// every failure code with its message, and the Linux firmware source.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/exports.h"
#include "plugin/lifecycle.h"
#include "smbios/reading/firmware_table.h"
#include "tests/support/recording_host.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

class LoaderTest : public PluginTest {
 protected:
  static uint32_t OffsetOf(uint32_t entry) {
    return static_cast<uint32_t>(g_structure_index.entries[entry] - g_firmware_table.buffer);
  }
};

// A small realistic table: BIOS, system, end of table.
Bytes SampleTable() {
  return BareTable({{0, 0, Formatted(24, {{4, 1}}), {"Vendor"}},
                    {1, 1, Formatted(27, {{4, 1}}), {"Maker"}},
                    {127, 2, {}, {}}});
}

Bytes WithLength(Bytes raw, uint32_t length) {
  for (int i = 0; i < 4; ++i) raw[4 + i] = static_cast<uint8_t>(length >> (8 * i));
  return raw;
}

struct HeaderCase {
  const char* name;
  Bytes raw;
  uint32_t walk_start;
  SmbiosVersion version;
};

TEST_F(LoaderTest, HeaderCheckDecidesWhereTheWalkStarts) {
  const Bytes table = SampleTable();
  const HeaderCase cases[] = {
      {"version 3.4 with a matching length", RawTable(table, 3, 4), 8, {3, 4}},
      {"version 2.8", RawTable(table, 2, 8), 8, {2, 8}},
      {"version 10.0, the highest recognised", RawTable(table, 10, 0), 8, {10, 0}},
      // Bare tables: byte 1 of the buffer is then the first length byte.
      {"major 11 is no header", RawTable(table, 11, 0), 0, {0, 0}},
      {"length field one byte short", WithLength(RawTable(table, 3, 4), uint32_t(table.size() - 1)), 0, {0, 0}},
      {"bare table", table, 0, {0, 0}},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes raw = c.raw;
    if (c.walk_start == 0 && raw.size() != table.size()) raw[1] = 11;  // a length byte that can be walked
    ASSERT_EQ(LoadTable(raw), 0) << Narrow(Recorded().standard_error);
    EXPECT_EQ(OffsetOf(0), c.walk_start);
    EXPECT_EQ(g_smbios_version.major, c.version.major);
    EXPECT_EQ(g_smbios_version.minor, c.version.minor);
  }
}

TEST_F(LoaderTest, MajorBelowTwoFallsBackAndFailsOnTheTinyLength) {
  // Taken as a bare table, the structure at offset 0 has length byte 1.
  EXPECT_EQ(LoadTable(RawTable(SampleTable(), 1, 0)), -1);
  EXPECT_EQ(Recorded().standard_error,
            u"Tarnwick plugin: Firmware tables don't appear valid!\r\nPlugin not loaded.\r\n");
}

TEST_F(LoaderTest, LargeTableBehindACorrectHeaderLoads) {
  // Servers with many memory devices publish tables of 64 KiB and more; the
  // whole 32-bit length must take part in the header check.
  std::vector<Structure> structures;
  for (uint16_t handle = 0; handle < 800; ++handle) {
    structures.push_back({17, handle, Formatted(0x5C), {std::string(60, 'M')}});
  }
  Bytes table = BareTable(structures);
  ASSERT_GE(table.size(), 65536u);
  ASSERT_EQ(LoadTable(RawTable(table, 3, 2)), 0);
  EXPECT_EQ(OffsetOf(0), 8u);
  EXPECT_EQ(g_smbios_version.major, 3);
  EXPECT_EQ(g_structure_index.count, std::min<uint32_t>(800, kMaxStructures));
}

TEST_F(LoaderTest, HighLengthBytesDoNotHideAMatchingSize) {
  // Bytes 6-7 nonzero: the length is no longer the buffer's, so no header.
  Bytes raw = RawTable(SampleTable(), 3, 4);
  raw[6] = 1;
  raw[1] = 11;
  ASSERT_EQ(LoadTable(raw), 0);
  EXPECT_EQ(OffsetOf(0), 0u);
}

TEST_F(LoaderTest, SmallBuffersAreBareTables) {
  const Bytes six = BareTable({{1, 0, {}, {}}});
  const Bytes thirteen = BareTable({{1, 0, Formatted(11), {}}});
  ASSERT_EQ(six.size(), 6u);
  ASSERT_EQ(thirteen.size(), 13u);
  for (const Bytes& raw : {six, thirteen}) {
    ASSERT_EQ(LoadTable(raw), 0);
    EXPECT_EQ(g_structure_index.count, 1u);
    EXPECT_EQ(OffsetOf(0), 0u);
    EXPECT_EQ(g_smbios_version.major, 0);
  }
}

struct WalkCase {
  const char* name;
  Bytes table;
  uint32_t count;
  uint8_t last_type;
};

TEST_F(LoaderTest, WalkStopsWhereTheTableStops) {
  Bytes cut_short = BareTable({{1, 0, Formatted(8), {}}, {2, 1, Formatted(8), {"AB"}}});
  cut_short.pop_back();  // the second structure's closing pair needs one byte more
  const WalkCase cases[] = {
      {"third structure with length 3",
       BareTable({{1, 0, {}, {}}, {2, 1, {}, {}}, {3, 2, Formatted(8), {}, 3}, {4, 3, {}, {}}}), 2, 2},
      {"end-of-table structure followed by more", BareTable({{1, 0, {}, {}}, {127, 1, {}, {}}, {2, 2, {}, {}}}),
       2, 127},
      {"no end marker, closing pair at the very end", BareTable({{1, 0, {}, {"A"}}, {2, 1, {}, {"B"}}}), 2, 2},
      {"closing pair would need the byte after the end", cut_short, 1, 1},
      {"two structures of one type", BareTable({{4, 0, {}, {}}, {4, 1, {}, {}}}), 2, 4},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(LoadTable(RawTable(c.table, 3, 0)), 0);
    ASSERT_EQ(g_structure_index.count, c.count);
    EXPECT_EQ(g_structure_index.entries[c.count - 1][0], c.last_type);
    for (uint32_t i = 0; i < c.count; ++i) EXPECT_TRUE(NextStructure(g_structure_index.entries[i], nullptr));
  }
}

TEST_F(LoaderTest, IndexHoldsAtMostItsCapacity) {
  std::vector<Structure> structures;
  for (uint32_t i = 0; i < kMaxStructures + 5; ++i) structures.push_back({1, uint16_t(i), {}, {}});
  structures.push_back({9, 0xFFFF, {}, {}});  // beyond the cap: never found
  ASSERT_EQ(LoadTable(RawTable(BareTable(structures), 3, 0)), 0);
  EXPECT_EQ(g_structure_index.count, kMaxStructures);
  EXPECT_EQ(g_structure_index.entries[kMaxStructures - 1][2] | (g_structure_index.entries[kMaxStructures - 1][3] << 8),
            int(kMaxStructures - 1));
  EXPECT_EQ(g_structure_index.first_of_type[9], kNoStructure);
}

TEST_F(LoaderTest, ReleaseLeavesNoTable) {
  ASSERT_EQ(LoadTable(RawTable(SampleTable(), 3, 4)), 0);
  ShutdownPlugin(0);
  EXPECT_EQ(g_firmware_table.buffer, nullptr);
  EXPECT_EQ(g_structure_index.count, 0u);
  char16_t buffer[kMaxArgLen] = u"kept";
  EXPECT_EQ(_smbmfg(buffer), 0);
  EXPECT_EQ(std::u16string(buffer), u"kept");
}

// Serves g_served through the firmware-table service's contract.
Bytes g_served;
uint32_t TARNWICK_SYSTEM_CALL ServeBytes(uint32_t, uint32_t, void* buffer, uint32_t size) {
  if (buffer != nullptr && size >= g_served.size()) std::memcpy(buffer, g_served.data(), g_served.size());
  return static_cast<uint32_t>(g_served.size());
}

TEST_F(LoaderTest, SecondInitializationReplacesTheTable) {
  g_served = RawTable(SampleTable(), 3, 4);
  ASSERT_EQ(InitializeFrom({&ServeBytes, &std::malloc}), 0);
  // Without ShutdownPlugin in between: the first buffer is released (the
  // leak checkers of the sanitizer and valgrind runs watch this).
  g_served = RawTable(BareTable({{1, 7, Formatted(8, {{4, 1}}), {"Second"}}}), 2, 8);
  ASSERT_EQ(InitializeFrom({&ServeBytes, &std::malloc}), 0);
  char16_t buffer[kMaxArgLen] = {};
  _smbmfg(buffer);
  EXPECT_EQ(std::u16string(buffer), u"Second");
  _smbver(buffer);
  EXPECT_EQ(std::u16string(buffer), u"2.8");
}

// Fetch stand-ins for the failure paths.
uint32_t TARNWICK_SYSTEM_CALL EmptyService(uint32_t, uint32_t, void*, uint32_t) { return 0; }
uint32_t TARNWICK_SYSTEM_CALL FailingFetch(uint32_t, uint32_t, void* buffer, uint32_t) {
  return buffer == nullptr ? 64 : 0;
}
uint32_t TARNWICK_SYSTEM_CALL GrowingTable(uint32_t, uint32_t, void* buffer, uint32_t) {
  return buffer == nullptr ? 64 : 128;  // grew between size query and fetch
}
uint32_t TARNWICK_SYSTEM_CALL GarbageTable(uint32_t, uint32_t, void* buffer, uint32_t size) {
  if (buffer != nullptr) std::memset(buffer, 0xEE, size);
  return 64;
}
uint32_t TARNWICK_SYSTEM_CALL HugeTable(uint32_t, uint32_t, void*, uint32_t) { return kLargestTable + 1; }
void* NoMemory(size_t) { return nullptr; }

struct FailureCase {
  const char* name;
  platform::FirmwareTableFetch fetch;
  bool fail_allocation;
  const char16_t* message;
};

TEST_F(LoaderTest, EachFailureIsReportedAndRefusesTheLoad) {
  const FailureCase cases[] = {
      {"no service", nullptr, false, u"GetSystemFirmwareTable() not supported!\r\n"},
      {"size query gives 0", &EmptyService, false, u"No firmware table!\r\n"},
      {"allocation fails", &GarbageTable, true, u"Error allocating buffer for firmware table!\r\n"},
      {"fetch gives 0", &FailingFetch, false, u"Error loading firmware table!\r\n"},
      {"fetch reports more than was allocated", &GrowingTable, false, u"Error loading firmware table!\r\n"},
      {"no valid structure at the start", &GarbageTable, false, u"Firmware tables don't appear valid!\r\n"},
      // Refused before the allocation, which would fail here.
      {"a size past any table's", &HugeTable, true, u"Firmware tables don't appear valid!\r\n"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecorded();
    EXPECT_EQ(InitializeFrom({c.fetch, c.fail_allocation ? &NoMemory : &std::malloc}), -1);
    EXPECT_EQ(Recorded().standard_error,
              std::u16string(u"Tarnwick plugin: ") + c.message + u"Plugin not loaded.\r\n");
    EXPECT_EQ(Recorded().console, u"");
    EXPECT_EQ(g_firmware_table.buffer, nullptr);
    EXPECT_EQ(g_structure_index.count, 0u);
  }
}

TEST_F(LoaderTest, BannerShowsOnlyForExactlyZeroZero) {
  const Bytes raw = RawTable(SampleTable(), 3, 4);
  struct {
    const char16_t* transient;
    const char16_t* pipe;
    const char16_t* noloadmsg;
    bool shown;
  } const cases[] = {
      {u"0", u"0", u"", true},     {u"1", u"0", u"", false},   {u"0", u"1", u"", false},
      {u"0", u"0", u"0", false},   {u"0", u"0", u"x", false},  {u"", u"", u"", false},
  };
  for (const auto& c : cases) {
    ResetHostVariables();
    HostVariables()[u"_transient"] = c.transient;
    HostVariables()[u"_pipe"] = c.pipe;
    HostVariables()[u"noloadmsg"] = c.noloadmsg;
    ClearRecorded();
    ASSERT_EQ(LoadTable(raw), 0);
    EXPECT_EQ(Recorded().console, c.shown ? u"Tarnwick v0.26.3 loaded.\r\n" : u"")
        << Narrow(std::u16string(c.transient) + c.pipe + c.noloadmsg);
  }
}

}  // namespace
}  // namespace tarnwick::testing
