// The variables: which structure and field each one reads, from what
// length a field counts, what stays in the host's buffer when nothing is
// found, and the texts of the chassis and version variables.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "host/export_table.h"
#include "host/exports.h"
#include "host/host_interface.h"
#include "tests/support/recording_host.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

class VariablesTest : public PluginTest {
 protected:
  // Loads `structures` behind an SMBIOS 3.4 header and forgets the banner.
  static void Load(const std::vector<Structure>& structures) {
    ASSERT_EQ(LoadTable(RawTable(BareTable(structures), 3, 4)), 0) << Narrow(Recorded().standard_error);
    ClearRecorded();
  }
};

// Calls `variable` with a full-size buffer holding `prefill`; the text after.
std::u16string Call(NameExport variable, const std::u16string& prefill = u"") {
  std::vector<char16_t> buffer(kMaxArgLen, 0);
  std::copy(prefill.begin(), prefill.end(), buffer.begin());
  EXPECT_EQ(variable(buffer.data()), 0);
  return std::u16string(buffer.data());
}

// --------------------------------------------------------- identity strings

struct StringVariable {
  const char* name;
  NameExport variable;
  uint8_t type;
  uint32_t offset;
};

// The list's string rows, and _smbassettag, which with a chassis asset tag
// present never falls back.
const std::vector<StringVariable> kStringVariables = [] {
  std::vector<StringVariable> rows;
#define TARNWICK_STRING_ROW(name, type, offset, help) rows.push_back({#name, name, type, offset});
#define TARNWICK_OTHER_ROW(...)
  TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_OTHER_ROW, TARNWICK_OTHER_ROW)
#undef TARNWICK_STRING_ROW
#undef TARNWICK_OTHER_ROW
  rows.push_back({"_smbassettag", _smbassettag, 3, 0x08});
  return rows;
}();

// A structure of `type` and `length` whose every string-number byte selects
// "wrong", except the one at `offset`, which holds `number` (1: `right`).
Structure Decoy(uint8_t type, uint32_t length, uint32_t offset, const std::string& right, uint8_t number = 1) {
  Structure s{type, uint16_t(0x100 + type), Formatted(length), {right, "wrong"}};
  for (uint32_t at = 4; at < length; ++at) s.formatted[at - 4] = at == offset ? number : 2;
  return s;
}

TEST_F(VariablesTest, EachStringVariableReadsItsOwnTypeAndOffset) {
  // Every type 0-4 is present and long; only the variable's own field in its
  // own type selects the right string, so a wrong type or offset shows.
  for (const StringVariable& v : kStringVariables) {
    SCOPED_TRACE(v.name);
    std::vector<Structure> table;
    for (uint8_t type = 0; type <= 4; ++type) {
      const uint32_t own_offset = type == v.type ? v.offset : 0;  // 0: no field selects string 1
      table.push_back(Decoy(type, 0x30, own_offset, "right " + std::to_string(type)));
    }
    Load(table);
    EXPECT_EQ(Narrow(Call(v.variable, u"keep")), "right " + std::to_string(v.type));
  }
}

TEST_F(VariablesTest, AStringFieldCountsOnlyWhenTheLengthByteExceedsItsOffset) {
  for (const StringVariable& v : kStringVariables) {
    for (uint32_t length : {v.offset - 1, v.offset, v.offset + 1, v.offset + 2}) {
      if (length < 4) continue;  // no structure is shorter than its header
      SCOPED_TRACE(std::string(v.name) + " in a structure of length " + std::to_string(length));
      Load({Decoy(v.type, length, v.offset, "right")});
      EXPECT_EQ(Narrow(Call(v.variable, u"keep")), length > v.offset ? "right" : "keep");
    }
  }
}

TEST_F(VariablesTest, OnlyTheFirstStructureOfATypeIsAsked) {
  for (const StringVariable& v : kStringVariables) {
    SCOPED_TRACE(v.name);
    const Structure second = Decoy(v.type, 0x30, v.offset, "second");
    // The first's field is 0: "N/A", though the second holds the string.
    Load({Decoy(v.type, 0x30, v.offset, "first", 0), second});
    EXPECT_EQ(Narrow(Call(v.variable, u"keep")), "N/A");
    // The first is too short for the field: nothing written.
    Load({Decoy(v.type, v.offset, v.offset, "first"), second});
    EXPECT_EQ(Narrow(Call(v.variable, u"keep")), "keep");
  }
}

TEST_F(VariablesTest, AMissingStructureLeavesTheBufferAsItWas) {
  Load({{5, 0, Formatted(0x30, {{4, 1}}), {"other type"}}, {127, 1, {}, {}}});
  for (const StringVariable& v : kStringVariables) {
    SCOPED_TRACE(v.name);
    EXPECT_EQ(Call(v.variable, u"keep"), u"keep");
    EXPECT_EQ(Call(v.variable, u""), u"");
  }
}

TEST_F(VariablesTest, SystemInformationOlderThanTheFamilyField) {
  // 25 bytes: the layout before SMBIOS 2.4 added Family at 1Ah.
  Load({{1, 0, Formatted(25, {{4, 1}, {5, 2}, {7, 3}}), {"Maker", "Model", "Serial"}}});
  EXPECT_EQ(Call(_smbfamily, u"keep"), u"keep");
  EXPECT_EQ(Call(_smbmfg), u"Maker");
  EXPECT_EQ(Call(_smbproduct), u"Model");
  EXPECT_EQ(Call(_smbserial), u"Serial");
}

TEST_F(VariablesTest, FirmwareBytesWidenOneToOne) {
  Load({{2, 0, Formatted(9, {{4, 1}}), {"Caf\xE9 \xA9\xFF"}}});
  EXPECT_EQ(Call(_smbbbmfg), u"Caf\u00E9 \u00A9\u00FF");
}

// ----------------------------------------------------------------- asset tag

struct AssetTagCase {
  const char* name;
  std::vector<Structure> structures;
  std::u16string prefill;
  std::u16string expected;
};

Structure Chassis(uint8_t tag_number, std::vector<std::string> strings, int length = 9) {
  return {3, 0x300, Formatted(9, {{8, tag_number}}), std::move(strings), length};
}
Structure Baseboard(uint8_t tag_number, std::vector<std::string> strings, int length = 9) {
  return {2, 0x200, Formatted(9, {{8, tag_number}}), std::move(strings), length};
}

TEST_F(VariablesTest, AssetTagFallsBackFromChassisToBaseboard) {
  const Structure board_tag = Baseboard(1, {"BOARD"});
  const AssetTagCase cases[] = {
      {"chassis tag", {Chassis(1, {"CASE"}), board_tag}, u"", u"CASE"},
      {"chassis tag over other host text", {Chassis(1, {"CASE"}), board_tag}, u"text", u"CASE"},
      {"chassis string number 0", {Chassis(0, {}), board_tag}, u"", u"BOARD"},
      {"chassis string past its set", {Chassis(2, {"X"}), board_tag}, u"", u"BOARD"},
      {"chassis tag reads N/A literally", {Chassis(1, {"N/A"}), board_tag}, u"", u"BOARD"},
      {"chassis tag n/a in other case", {Chassis(1, {"n/a"}), board_tag}, u"", u"n/a"},
      {"chassis tag N/A with a blank", {Chassis(1, {"N/A "}), board_tag}, u"", u"N/A "},
      {"chassis N/A, baseboard string number 0", {Chassis(0, {}), Baseboard(0, {})}, u"", u"N/A"},
      {"chassis N/A, baseboard string past its set", {Chassis(0, {}), Baseboard(3, {"X"})}, u"", u"N/A"},
      {"chassis N/A, no baseboard", {Chassis(0, {})}, u"", u"N/A"},
      {"chassis N/A, baseboard of 8 bytes", {Chassis(0, {}), Baseboard(1, {"BOARD"}, 8)}, u"", u"N/A"},
      {"no chassis, empty buffer", {board_tag}, u"", u"BOARD"},
      {"chassis of 8 bytes, empty buffer", {Chassis(1, {"CASE"}, 8), board_tag}, u"", u"BOARD"},
      {"no chassis, baseboard string number 0, empty buffer", {Baseboard(0, {})}, u"", u"N/A"},
      {"no chassis, baseboard of 8 bytes, empty buffer", {Baseboard(1, {"BOARD"}, 8)}, u"", u""},
      {"neither structure, empty buffer", {}, u"", u""},
      {"neither structure, buffer holding N/A", {}, u"N/A", u"N/A"},
      {"no chassis, buffer holding exactly N/A", {board_tag}, u"N/A", u"BOARD"},
      {"no chassis, other host text", {board_tag}, u"text", u"text"},
      {"no chassis, host text n/a", {board_tag}, u"n/a", u"n/a"},
      {"chassis of 8 bytes, other host text", {Chassis(1, {"CASE"}, 8), board_tag}, u"text", u"text"},
  };
  for (const AssetTagCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Structure> structures = c.structures;
    structures.push_back({127, 0x7F00, {}, {}});
    Load(structures);
    EXPECT_EQ(Narrow(Call(_smbassettag, c.prefill)), Narrow(c.expected));
  }
}

// ------------------------------------------------------------------ chassis

struct ChassisCase {
  uint8_t byte;
  const char* box;
  const char* number;
  const char* lock;
  const char* type;
};

std::vector<std::string> ChassisTexts() {
  return {Narrow(Call(_smbbox, u"keep")), Narrow(Call(_smbchassis, u"keep")), Narrow(Call(_smbchassislock, u"keep")),
          Narrow(Call(_smbchassistype, u"keep"))};
}

TEST_F(VariablesTest, ChassisVariablesFromTheTypeByte) {
  const ChassisCase cases[] = {
      {0x09, "L", "9", "Not present", "LapTop"},        {0x89, "L", "137", "Present", "LapTop"},
      {0x80, "D", "128", "Present", "Unknown"},         {0x03, "D", "3", "Not present", "Desktop"},
      {0x0E, "L", "14", "Not present", "Sub Notebook"}, {0x0C, "D", "12", "Not present", "Docking Station"},
      {0x02, "D", "2", "Not present", "Unknown"},       {0x1E, "L", "30", "Not present", "Tablet"},
      {0xFF, "D", "255", "Present", "Unknown"},         {0x00, "D", "0", "Not present", "Unknown"},
      {0xA0, "L", "160", "Present", "Detachable"},      {0x24, "D", "36", "Not present", "Stick PC"},
      {0x25, "D", "37", "Not present", "Unknown"},
  };
  for (const ChassisCase& c : cases) {
    SCOPED_TRACE("chassis byte " + std::to_string(c.byte));
    Load({{3, 0, Formatted(6, {{5, c.byte}}), {}}});
    EXPECT_EQ(ChassisTexts(), (std::vector<std::string>{c.box, c.number, c.lock, c.type}));
  }
}

TEST_F(VariablesTest, ChassisTypeNamesAndPortableTypes) {
  // The words themselves are spot-checked above; the sweep checks what no
  // single case shows: the lock bit never changes the words, DSP0134 7.4.1
  // defines types 01h-24h (each its own word, 02h "Unknown"), every other
  // value reads "Unknown", and only the portable types give L.
  const std::vector<int> portable = {8, 9, 10, 11, 14, 30, 31, 32};
  std::set<std::string> words;
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE("chassis byte " + std::to_string(byte));
    const int type = byte & 0x7F;
    Load({{3, 0, Formatted(6, {{5, uint8_t(byte)}}), {}}});
    const std::string word = Narrow(Call(_smbchassistype));
    if (type == 0 || type == 2 || type > 0x24) {
      EXPECT_EQ(word, "Unknown");
    } else if (byte < 0x80) {
      EXPECT_TRUE(words.insert(word).second) << word << " stands for two types";
    }
    const bool is_portable = std::find(portable.begin(), portable.end(), type) != portable.end();
    EXPECT_EQ(Narrow(Call(_smbbox)), is_portable ? "L" : "D");
  }
  EXPECT_EQ(words.size(), 0x23u);
}

TEST_F(VariablesTest, ChassisDefaultsWhenTheByteIsMissing) {
  const std::vector<std::string> defaults = {"D", "N/A", "N/A", "N/A"};
  const std::vector<std::string> laptop = {"L", "9", "Not present", "LapTop"};
  struct Case {
    const char* name;
    std::vector<Structure> structures;
    std::vector<std::string> texts;
  } cases[] = {
      {"no chassis", {{1, 0, Formatted(8), {}}}, defaults},
      {"chassis of 5 bytes", {{3, 0, Formatted(6, {{5, 9}}), {}, 5}}, defaults},
      {"chassis of 6 bytes", {{3, 0, Formatted(6, {{5, 9}}), {}, 6}}, laptop},
      {"first chassis too short, second long",
       {{3, 0, Formatted(6, {{5, 9}}), {}, 5}, {3, 1, Formatted(6, {{5, 9}}), {}}},
       defaults},
      {"first chassis read, second ignored",
       {{3, 0, Formatted(6, {{5, 9}}), {}}, {3, 1, Formatted(6, {{5, 3}}), {}}},
       laptop},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.structures);
    EXPECT_EQ(ChassisTexts(), c.texts);
  }
}

// --------------------------------------------------------- version and speed

struct NumberCase {
  const char* name;
  std::vector<Structure> structures;
  const char* bios_release;
  const char* external_clock;
  const char* current_speed;
};

// A processor structure of `length` bytes: External Clock 0x012C (300) at
// 12h and Current Speed 0x0064 (100) at 16h, as far as the length reaches.
Structure Processor(int length) {
  Structure s{4, 0x400, Formatted(0x30, {{0x12, 0x2C}, {0x13, 0x01}, {0x16, 0x64}, {0x17, 0x00}}), {}};
  s.formatted.resize(length - 4);
  return s;
}
Structure Bios(int length, uint8_t major, uint8_t minor) {
  Structure s{0, 0, Formatted(0x30, {{0x14, major}, {0x15, minor}}), {}};
  s.formatted.resize(length - 4);
  return s;
}

TEST_F(VariablesTest, BiosReleaseAndProcessorClocks) {
  const NumberCase cases[] = {
      {"no BIOS, no processor", {{1, 0, Formatted(8), {}}}, "N/A", "N/A", "N/A"},
      {"BIOS of 21 bytes", {Bios(21, 1, 15)}, "N/A", "N/A", "N/A"},
      {"BIOS of 22 bytes, major before minor", {Bios(22, 1, 15)}, "1.15", "N/A", "N/A"},
      {"BIOS without release numbers", {Bios(24, 0xFF, 0xFF)}, "255.255", "N/A", "N/A"},
      {"first BIOS too short, second ignored", {Bios(21, 1, 15), Bios(24, 2, 3)}, "N/A", "N/A", "N/A"},
      {"processor of 19 bytes", {Processor(19)}, "N/A", "N/A", "N/A"},
      {"processor of 20 bytes", {Processor(20)}, "N/A", "300", "N/A"},
      {"processor of 23 bytes", {Processor(23)}, "N/A", "300", "N/A"},
      {"processor of 24 bytes", {Processor(24)}, "N/A", "300", "100"},
      {"first processor too short, second ignored", {Processor(19), Processor(0x30)}, "N/A", "N/A", "N/A"},
      {"External Clock 0x0064",
       {{4, 0, Formatted(24, {{0x12, 0x64}, {0x16, 0xFF}, {0x17, 0xFF}}), {}}},
       "N/A",
       "100",
       "65535"},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.structures);
    EXPECT_EQ(Narrow(Call(_smbbiosrev, u"keep")), c.bios_release);
    EXPECT_EQ(Narrow(Call(_smbcpuclock, u"keep")), c.external_clock);
    EXPECT_EQ(Narrow(Call(_smbcpuspeed, u"keep")), c.current_speed);
  }
}

TEST_F(VariablesTest, SmbiosVersionFromTheHeader) {
  const Bytes table = BareTable({{1, 0, Formatted(8), {}}});
  struct Case {
    const char* name;
    Bytes raw;
    const char* version;
  } cases[] = {
      {"3.4", RawTable(table, 3, 4), "3.4"},
      {"2.8", RawTable(table, 2, 8), "2.8"},
      {"minor written as read", RawTable(table, 2, 31), "2.31"},
      {"10.255", RawTable(table, 10, 255), "10.255"},
      {"bare table: no header recognised", table, "N/A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(LoadTable(c.raw), 0);
    EXPECT_EQ(Narrow(Call(_smbver, u"keep")), c.version);
  }
}

// ------------------------------------------------------------ every variable

TEST_F(VariablesTest, EveryVariableAnswersSilently) {
  const std::vector<std::vector<Structure>> tables = {
      {{127, 0, {}, {}}},
      {Bios(0x18, 1, 2), Decoy(1, 0x1B, 4, "S"), Decoy(2, 9, 8, "B"), Decoy(3, 9, 8, "C"), Processor(0x30)},
  };
  for (const auto& structures : tables) {
    Load(structures);
    for (const ExportEntry& row : kExportTable) {
      if (row.is_function) continue;
      SCOPED_TRACE(Narrow(std::u16string(row.name)));
      EXPECT_EQ(row.entry(nullptr), -1);
      std::vector<char16_t> buffer(kMaxArgLen, 0);
      EXPECT_EQ(row.entry(buffer.data()), 0);
      EXPECT_EQ(Recorded().standard_error, u"");
      EXPECT_EQ(Recorded().console, u"");
      EXPECT_EQ(Recorded().other_handles, u"");
    }
  }
}

}  // namespace
}  // namespace tarnwick::testing
