// The byte formats of a table on file: dmidecode's dump (entry point and
// table), the firmware service's layout and bare tables, read and written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/exports.h"
#include "plugin/firmware_service.h"
#include "plugin/lifecycle.h"
#include "smbios/model/dump_layout.h"
#include "smbios/reading/firmware_table.h"
#include "tests/support/recording_host.h"
#include "tests/support/table_builder.h"

namespace tarnwick {
namespace {

uint8_t Sum(const Bytes& bytes, size_t from, size_t length) { return ByteSum(bytes.data() + from, length); }

Bytes DumpedTable() {
  return testing::BareTable({{1, 0, testing::Formatted(27, {{4, 1}}), {"Maker"}},
                             {4, 1, testing::Formatted(48), {"A", "BCDEFG"}},
                             {127, 2, {}, {}}});
}

Bytes ReadBack(const Bytes& dump) {
  Bytes service;
  EXPECT_EQ(ServiceLayoutFromFile(dump, &service).refusal, FileRefusal::kNone);
  return service;
}

TEST(DumpLayout, Smbios3EntryPoint) {
  const Bytes table = DumpedTable();
  const Bytes dump = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), true, 3, 4, 1});
  ASSERT_EQ(dump.size(), kDumpTableAddress + table.size());
  EXPECT_EQ(std::string(dump.begin(), dump.begin() + 5), "_SM3_");
  EXPECT_EQ(Sum(dump, 0, 0x18), 0);
  EXPECT_EQ(dump[6], 0x18);
  EXPECT_EQ(dump[0x0C] | dump[0x0D] << 8, static_cast<int>(table.size()));
  EXPECT_EQ(dump[0x10], kDumpTableAddress);
  Bytes expected = testing::RawTable(table, 3, 4);
  expected[3] = 1;  // the docrev travels in the DMI revision byte
  EXPECT_EQ(ReadBack(dump), expected);
}

TEST(DumpLayout, Smbios2EntryPointWithLegacyPart) {
  const Bytes table = DumpedTable();
  ASSERT_EQ(testing::LoadTable(testing::RawTable(table, 2, 7)), 0);
  const Bytes dump = DumpLayout(ImageOf(ReadTableModel(HeldTable())));
  ShutdownPlugin(0);
  EXPECT_EQ(std::string(dump.begin(), dump.begin() + 4), "_SM_");
  EXPECT_EQ(std::string(dump.begin() + 0x10, dump.begin() + 0x15), "_DMI_");
  EXPECT_EQ(Sum(dump, 0, 0x1F), 0);
  EXPECT_EQ(Sum(dump, 0x10, 0x0F), 0);
  EXPECT_EQ(dump[0x1C], 3);     // structures
  EXPECT_EQ(dump[8], 48 + 10);  // the largest: 48 bytes, "A" and "BCDEFG" with their NULs, one more NUL
  EXPECT_EQ(dump[0x1E], 0x27);  // BCD revision from the version
  Bytes expected = testing::RawTable(table, 2, 7);
  expected[3] = 0x27;
  EXPECT_EQ(ReadBack(dump), expected);
}

TEST(DumpLayout, TableWithoutVersionReadsBackBare) {
  const Bytes table = DumpedTable();
  const Bytes dump = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), false, 0, 0, 0});
  EXPECT_EQ(std::string(dump.begin(), dump.begin() + 5), "_DMI_");
  EXPECT_EQ(Sum(dump, 0, 0x0F), 0);
  EXPECT_EQ(dump[0x0E], 0);
  EXPECT_EQ(ReadBack(dump), table);
}

// A 32-bit entry point's length is a word: FFFFh bytes fit, one more does not.
TEST(DumpLayout, TableTooLongForA16BitLengthGetsSmbios3) {
  for (const uint32_t size : {0xFFFFu, 0x10000u}) {
    // Structures of 229 bytes (1Bh formatted, a string of 200, two NULs), the last one filling up.
    Bytes table;
    while (table.size() < size) {
      const size_t string = std::min<size_t>(200, size - table.size() - 0x1B - 2);
      const Bytes structure = testing::BareTable({{1, 0, testing::Formatted(0x1B), {std::string(string, 'x')}}});
      table.insert(table.end(), structure.begin(), structure.end());
    }
    ASSERT_EQ(table.size(), size);
    const bool smbios3 = size > 0xFFFF;
    for (const bool has_version : {true, false}) {
      const Bytes dump = DumpLayout({table.data(), size, has_version, 2, 8, 0});
      EXPECT_EQ(std::string(dump.begin(), dump.begin() + 4), smbios3 ? "_SM3" : has_version ? "_SM_" : "_DMI") << size;
      if (smbios3) {
        EXPECT_EQ(dump[7] << 8 | dump[8], has_version ? 0x0208 : 0x0300);  // a bare table's: 3.0, never 0.0
      }
      EXPECT_EQ(ReadBack(dump).size(), table.size() + (smbios3 || has_version ? 8 : 0)) << size;
    }
  }
}

TEST(DumpLayout, BrokenDumpsAreRefusedAndOtherFilesPassAsTheyAre) {
  const Bytes table = DumpedTable();
  Bytes dump = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), true, 3, 0, 0});
  Bytes far = dump;
  far[0x10] = 0xFF;
  Bytes header = testing::RawTable(table, 3, 0);
  header[4] += 1;
  const struct {
    Bytes file;
    FileRefusal refusal;
    EntryPointKind kind;
  } broken[] = {
      {Bytes(dump.begin(), dump.begin() + 0x17), FileRefusal::kEntryPointCut, EntryPointKind::kSmbios3},
      {Bytes{'_', 'S', 'M', '_', 0, 0x1F}, FileRefusal::kEntryPointCut, EntryPointKind::kSmbios2},
      {Bytes{'_', 'D', 'M', 'I', '_', 0, 0, 0}, FileRefusal::kEntryPointCut, EntryPointKind::kLegacy},
      {far, FileRefusal::kAddressPastFile, EntryPointKind::kSmbios3},
      {header, FileRefusal::kHeaderLengthMismatch, EntryPointKind::kNone},
      {Bytes{1, 4, 0, 0, 0, 0, 0xAA, 0xBB}, FileRefusal::kNotATable, EntryPointKind::kNone},  // one structure, then no table
      // No structure at all, and too short or of no known version for a service header.
      {Bytes{1, 2, 0, 0, 0, 0}, FileRefusal::kNotATable, EntryPointKind::kNone},
      {Bytes{'h', 'e', 'l', 'l', 'o', ' ', 't', 'e', 'x', 't', '\n'}, FileRefusal::kNotATable, EntryPointKind::kNone},
  };
  for (const auto& c : broken) {
    Bytes service;
    const FileLayout layout = ServiceLayoutFromFile(c.file, &service);
    EXPECT_EQ(layout.refusal, c.refusal);
    EXPECT_EQ(layout.kind, c.kind);
  }
  // An entry point that overstates the table's length ends it at the file's end.
  dump[0x0C] = 0xFF, dump[0x0D] = 0xFF;
  EXPECT_EQ(ReadBack(dump).size(), table.size() + 8);
  // A version the loader's header check refuses: the table goes on bare.
  Bytes old = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), true, 1, 9, 0});
  EXPECT_EQ(ReadBack(old), table);
  EXPECT_EQ(ReadBack(table), table);
}

// The entry point claims exactly what the loader indexed: nothing after the
// end-of-table structure, nothing from a structure cut short.
TEST(DumpLayout, CountsAreWhatTheLoaderRead) {
  const Bytes after_end = testing::BareTable({{1, 0, {}, {"A"}}, {127, 1, {}, {}}, {2, 2, testing::Formatted(60), {}}});
  const Bytes table = DumpedTable();
  const struct {
    const char* name;
    Bytes raw;
    uint32_t count, largest;
  } cases[] = {
      {"structures after the end-of-table structure", testing::RawTable(after_end, 2, 7), 2, 7},
      {"last structure's NUL pair cut short", Bytes(table.begin(), table.end() - 1), 2, 58},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::ResetHostVariables();
    ASSERT_EQ(testing::LoadTable(c.raw), 0);
    const TableImage image = ImageOf(ReadTableModel(HeldTable()));
    EXPECT_EQ(image.count, c.count);
    EXPECT_EQ(image.largest, c.largest);
    ShutdownPlugin(0);
  }
}

TEST(DumpLayout, CorpusDumpsBecomeTheirServiceBuffers) {
  const std::string corpus = TARNWICK_CORPUS_DIR;
  std::ifstream index(corpus + "/index.json");
  if (!index) {
    if (std::getenv("CI") != nullptr && std::string(std::getenv("CI")) == "true") FAIL() << "no corpus in CI";
    GTEST_SKIP() << "no corpus at " << corpus;
  }
  for (const char* name : {"asrockrack-x570d4u", "dell-latitude-d500", "microsoft-hyperv-gen1", "vmware-vm-a"}) {
    auto read = [&](const char* suffix) {
      std::ifstream file(corpus + "/" + name + suffix, std::ios::binary);
      return Bytes(std::istreambuf_iterator<char>(file), {});
    };
    Bytes service = ReadBack(read(".dump"));
    Bytes expected = read(".rsmb");
    ASSERT_EQ(service.size(), expected.size()) << name;
    service[3] = expected[3] = 0;  // the revision byte: not kept in these service buffers
    EXPECT_EQ(service, expected) << name;
  }
}

// The kernel's files (entry point and DMI) in a folder stand in for the live table.
std::string g_dmi_directory;
uint32_t ReadDmiDirectory(uint32_t, uint32_t, void* buffer, uint32_t size) {
  return ReadDmiTables(g_dmi_directory, buffer, size);
}

// The live files and the dump of one table go through one entry-point
// reader: the same table loads from both, and an odd version costs only the
// version, never the table.
TEST(DumpLayout, LiveFilesLoadAsTheirDump) {
  const Bytes table = DumpedTable();
  const auto size = static_cast<uint32_t>(table.size());
  std::vector<std::pair<std::string, Bytes>> dumps = {
      {"3.4", DumpLayout({table.data(), size, true, 3, 4, 1})},
      {"2.7", DumpLayout({table.data(), size, true, 2, 7, 0})},
      {"major 1", DumpLayout({table.data(), size, true, 1, 9, 0})},
      {"major 11", DumpLayout({table.data(), size, true, 11, 0, 0})},
      {"legacy revision 0", DumpLayout({table.data(), size, false, 0, 0, 0})}};
  for (const char* name : {"dell-poweredge-r730", "lenovo-thinkpad-t490", "lenovo-thinkpad-t61p"}) {
    std::ifstream file(std::string(TARNWICK_CORPUS_DIR) + "/" + name + ".dump", std::ios::binary);
    if (file) dumps.emplace_back(name, Bytes(std::istreambuf_iterator<char>(file), {}));
  }
  const auto directory = std::filesystem::temp_directory_path() / "tarnwick-live-files-test";
  std::filesystem::create_directories(directory);
  g_dmi_directory = directory.string();
  for (const auto& [name, dump] : dumps) {
    SCOPED_TRACE(name);
    const auto* bytes = reinterpret_cast<const char*>(dump.data());
    std::ofstream(directory / "smbios_entry_point", std::ios::binary).write(bytes, kDumpTableAddress);
    std::ofstream(directory / "DMI", std::ios::binary)
        .write(bytes + kDumpTableAddress, std::streamsize(dump.size() - kDumpTableAddress));
    testing::ResetHostVariables();
    ASSERT_EQ(InitializeFrom({&ReadDmiDirectory, &std::malloc}), 0);
    EXPECT_EQ(Bytes(g_firmware_table.buffer, g_firmware_table.buffer + g_firmware_table.size), ReadBack(dump));
    ShutdownPlugin(0);
  }
  std::filesystem::remove_all(directory);
  EXPECT_EQ(InitializeFrom({&ReadDmiDirectory, &std::malloc}), -1);  // no files: "No firmware table!"
}

}  // namespace
}  // namespace tarnwick
