// _smbuuid, _smbecversion and the totals over every structure of a type:
// _smbmemory, _smbcpucount, _smbcores and _smbthreads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/exports.h"
#include "host/host_interface.h"
#include "smbios/model/inventory_records.h"
#include "smbios/reading/firmware_table.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

class InventoryVariablesTest : public PluginTest {
 protected:
  static void Load(const std::vector<FieldStructure>& structures, uint8_t major = 3, uint8_t minor = 4) {
    ASSERT_EQ(LoadTable(RawTable(FieldTable(structures), major, minor)), 0) << Narrow(Recorded().standard_error);
  }
  static void LoadBare(const std::vector<FieldStructure>& structures) {
    ASSERT_EQ(LoadTable(FieldTable(structures)), 0) << Narrow(Recorded().standard_error);
  }
  // The variable's text, from a buffer that held "keep".
  static std::string Call(NameExport variable) {
    std::vector<char16_t> buffer(kMaxArgLen, 0);
    std::u16string(u"keep").copy(buffer.data(), 4);
    EXPECT_EQ(variable(buffer.data()), 0);
    return Narrow(std::u16string(buffer.data()));
  }
};

// System Information with the UUID bytes 00h, 11h, ..., FFh (or all `fill`).
FieldStructure System(uint8_t length, int fill = -1) {
  FieldStructure s{1, 0x100, length, {}, {}};
  for (uint8_t i = 0; i < 16; ++i) s.fields.push_back({uint8_t(0x08 + i), uint8_t(fill < 0 ? i * 0x11 : fill)});
  return s;
}

TEST_F(InventoryVariablesTest, UuidByteOrderFollowsTheVersion) {
  const std::string as_stored = "00112233-4455-6677-8899-AABBCCDDEEFF";
  const std::string little_endian = "33221100-5544-7766-8899-AABBCCDDEEFF";
  struct {
    uint8_t major, minor;
    std::string expected;
  } const cases[] = {
      {2, 5, as_stored},      {2, 6, little_endian},  {3, 0, little_endian},
      {2, 31, as_stored},     {2, 33, as_stored},     {2, 51, little_endian},  // misprints of 2.3 and 2.6
      {2, 7, little_endian},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
    Load({System(0x19)}, c.major, c.minor);
    EXPECT_EQ(Call(_smbuuid), c.expected);
  }
  LoadBare({System(0x19)});  // no version stated
  EXPECT_EQ(Call(_smbuuid), little_endian);
}

TEST_F(InventoryVariablesTest, UuidNotAvailable) {
  struct {
    const char* name;
    std::vector<FieldStructure> table;
    std::string expected;
  } const cases[] = {
      {"all 00h", {System(0x19, 0x00)}, "N/A"},
      {"all FFh", {System(0x19, 0xFF)}, "N/A"},
      {"one byte short", {System(0x17)}, "N/A"},
      {"just long enough", {System(0x18, 0x01)}, "01010101-0101-0101-0101-010101010101"},
      {"no system structure", {{3, 0, 0x19, {}, {}}}, "N/A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.table);
    EXPECT_EQ(Call(_smbuuid), c.expected);
  }
}

TEST_F(InventoryVariablesTest, EmbeddedControllerRelease) {
  struct {
    uint8_t length, major, minor;
    std::string expected;
  } const cases[] = {
      {0x18, 1, 7, "1.7"}, {0x18, 0xFF, 0xFF, "N/A"}, {0x18, 0xFF, 0, "255.0"}, {0x17, 1, 7, "N/A"},
  };
  for (const auto& c : cases) {
    Load({{0, 0, c.length, {{0x16, c.major}, {0x17, c.minor}}, {}}});
    EXPECT_EQ(Call(_smbecversion), c.expected) << int(c.length) << " " << int(c.major) << "." << int(c.minor);
  }
}

// A Memory Device structure of `length` with Size `size`, Extended Size
// `extended`, Speed `speed` and Extended Speed `extended_speed`; its
// Manufacturer (17h, after the speed word) is string 1.
FieldStructure Device(uint16_t size, uint32_t extended = 0, uint8_t length = 0x28, uint16_t speed = 0,
                      uint32_t extended_speed = 0) {
  FieldStructure s{17, 0, length, {{0x0C, uint8_t(size)}, {0x0D, uint8_t(size >> 8)}, {0x17, 1}}, {"Maker"}};
  for (uint8_t i = 0; i < 4; ++i) s.fields.push_back({uint8_t(0x1C + i), uint8_t(extended >> 8 * i)});
  for (uint8_t i = 0; i < 2; ++i) s.fields.push_back({uint8_t(0x15 + i), uint8_t(speed >> 8 * i)});
  for (uint8_t i = 0; i < 4; ++i) s.fields.push_back({uint8_t(0x54 + i), uint8_t(extended_speed >> 8 * i)});
  return s;
}

TEST_F(InventoryVariablesTest, InstalledMemory) {
  struct {
    const char* name;
    std::vector<FieldStructure> devices;
    std::string expected;
    std::vector<uint32_t> speeds;  // one per installed device, in order: its speed, 0 unknown
  } const cases[] = {
      {"two modules in MB", {Device(8192), Device(4096)}, "12288", {0, 0}},
      {"empty sockets and unknown sizes skipped", {Device(0), Device(2048), Device(0xFFFF)}, "2048", {0}},
      {"KB granularity", {Device(0x8000 | 512), Device(0x8000 | 512), Device(1)}, "2", {0, 0, 0}},
      {"KB below a whole MB", {Device(0x8000 | 512)}, "0", {0}},
      {"extended size", {Device(0x7FFF, 65536), Device(1024)}, "66560", {0, 0}},
      {"extended size, bit 31 reserved", {Device(0x7FFF, 0x80000000u | 40960)}, "40960", {0}},
      {"7FFFh where the structure holds no extended size", {Device(0x7FFF, 0, 0x1C)}, "32767", {0}},
      {"no installed module", {Device(0), Device(0xFFFF)}, "N/A", {}},
      {"too short for the size", {Device(1024, 0, 0x0D)}, "N/A", {}},
      {"no memory device", {}, "N/A", {}},
      {"speed in MT/s", {Device(1024, 0, 0x28, 3200)}, "1024", {3200}},
      {"speed FFFFh: the extended speed's bits 30-0 (DSP0134 7.18)",
       {Device(1024, 0, 0x5C, 0xFFFF, 0x80000000u | 8000), Device(0, 0, 0x5C, 4800), Device(512, 0, 0x5C, 0)},
       "1536", {8000, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<FieldStructure> table = {{16, 0, 0x17, {}, {}}};
    table.insert(table.end(), c.devices.begin(), c.devices.end());
    Load(table);
    EXPECT_EQ(Call(_smbmemory), c.expected);
    const TableModel model = ReadTableModel(HeldTable());
    const std::vector<MemoryDeviceRecord> records = InstalledMemoryDevices(model);
    ASSERT_EQ(records.size(), c.speeds.size());
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].speed_mts.value_or(0), c.speeds[i]) << i;
  }
}

// A Processor Information structure: status, core and thread counts, their
// 2-fields.
FieldStructure Processor(uint8_t status, uint8_t cores, uint8_t threads, uint16_t cores2 = 0, uint16_t threads2 = 0,
                         uint8_t length = 0x30) {
  return {4, 0, length,
          {{0x18, status}, {0x23, cores}, {0x25, threads}, {0x2A, uint8_t(cores2)}, {0x2B, uint8_t(cores2 >> 8)},
           {0x2E, uint8_t(threads2)}, {0x2F, uint8_t(threads2 >> 8)}},
          {}};
}

constexpr uint8_t kPopulated = 0x41;
constexpr uint8_t kEmptySocket = 0x00;

TEST_F(InventoryVariablesTest, ProcessorTotals) {
  struct {
    const char* name;
    std::vector<FieldStructure> processors;
    std::string count, cores, threads;
  } const cases[] = {
      {"two populated", {Processor(kPopulated, 8, 16), Processor(kPopulated, 4, 4)}, "2", "12", "20"},
      {"an empty socket counts for nothing",
       {Processor(kPopulated, 8, 16), Processor(kEmptySocket, 8, 16)}, "1", "8", "16"},
      {"populated but disabled", {Processor(0x42, 2, 2)}, "1", "2", "2"},
      {"enabled but the socket empty (bit 6 clear)", {Processor(0x01, 2, 2)}, "0", "N/A", "N/A"},
      {"FFh with the 2-fields", {Processor(kPopulated, 0xFF, 0xFF, 300, 600)}, "1", "300", "600"},
      {"FFh without the 2-fields", {Processor(kPopulated, 0xFF, 0xFF, 300, 600, 0x2A), Processor(kPopulated, 2, 4)},
       "2", "2", "4"},
      {"FFh and the 2-fields unknown", {Processor(kPopulated, 0xFF, 0xFF, 0xFFFF, 0)}, "1", "N/A", "N/A"},
      {"unknown counts", {Processor(kPopulated, 0, 0)}, "1", "N/A", "N/A"},
      {"too short for the counts", {Processor(kPopulated, 8, 16, 0, 0, 0x23)}, "1", "N/A", "N/A"},
      {"cores known, threads not", {Processor(kPopulated, 6, 16, 0, 0, 0x25)}, "1", "6", "N/A"},
      {"only empty sockets", {Processor(kEmptySocket, 8, 16)}, "0", "N/A", "N/A"},
      {"too short for the status", {Processor(kPopulated, 8, 16, 0, 0, 0x18)}, "N/A", "N/A", "N/A"},
      {"no processor", {}, "N/A", "N/A", "N/A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<FieldStructure> table = {{1, 0, 0x1B, {}, {}}};
    table.insert(table.end(), c.processors.begin(), c.processors.end());
    Load(table);
    EXPECT_EQ(Call(_smbcpucount), c.count);
    EXPECT_EQ(Call(_smbcores), c.cores);
    EXPECT_EQ(Call(_smbthreads), c.threads);
  }
}

}  // namespace
}  // namespace tarnwick::testing
