// The command-line host's parts that need no process of their own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <algorithm>

#include "cli/input/batch_file.h"
#include "cli/input/machine_table.h"
#include "cli/output/cmd_set_lines.h"
#include "cli/names/name_call.h"
#include "cli/names/name_listing.h"
#include "cli/options.h"
#include "cli/output/prometheus_output.h"
#include "cli/names/seen_names.h"
#include "cli/output/table_findings.h"
#include "cli/output/text_quoting.h"
#include "cli/names/utf8_utf16.h"
#include "cli/names/variable_expansion.h"
#include "host/exports.h"
#include "platform/platform.h"
#include "plugin/firmware_service.h"
#include "plugin/lifecycle.h"
#include "smbios/model/dump_layout.h"
#include "smbios/reading/firmware_table.h"
#include "tests/support/recording_host.h"
#include "tests/support/table_builder.h"

namespace tarnwick::cli {
namespace {

using testing::Narrow;

TEST(Utf8Utf16, WellFormedAndMalformedSequences) {
  const struct {
    const char* bytes;
    std::u16string expected;
  } cases[] = {
      {"plain", u"plain"},
      {"\xC3\xA9", u"\u00E9"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},  // a surrogate pair
      {"a\x80z", u"a\uFFFDz"},              // stray continuation byte
      {"\xC0\xAF", u"\uFFFD"},              // overlong "/"
      {"\xE0\x80\x80\x80", u"\uFFFD"},      // overlong NUL, and the stray byte after it
      {"\xED\xA0\x80", u"\uFFFD"},          // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD"},      // above U+10FFFF
      {"\xE2\x82", u"\uFFFD"},              // cut short at the end
      {"\xE2\x82\x41", u"\uFFFDA"},         // cut short before ASCII "A"
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeUtf8(c.bytes), c.expected) << Narrow(c.expected);
    if (c.expected.find(u'\uFFFD') == std::u16string::npos) {
      EXPECT_EQ(EncodeUtf8(c.expected), c.bytes);
    }
  }
  EXPECT_EQ(EncodeUtf8(std::u16string{u'a', char16_t(0xD800), u'z'}), "a\xEF\xBF\xBDz");  // an unpaired surrogate
}

TEST(VariableExpansion, ReferencesAsTheShellWritesThem) {
  const std::map<std::string, std::string> variables = {
      {"_batch", "1"}, {"_batchname", "C:\\bin\\x.btm"}, {"_batchline", "12"}, {"empty", ""}};
  auto lookup = [&](std::string_view name, std::string* value) {
    auto found = variables.find(std::string(name));
    if (found == variables.end()) return false;
    *value = found->second;
    return true;
  };
  const struct {
    std::string text, expected;
  } cases[] = {
      {"%_batch", "1"},
      {"%[_batch]%[empty]%[_batch]", "11"},
      {"%_batchname [%_batchline]  ", "C:\\bin\\x.btm [12]  "},
      {"%_batch%x", "1x"},  // a "%" right after the name closes it
      {"%undefined.", "."},
      {"%[undefined]", ""},
      {"100%% sure", "100% sure"},
      {"50% off", "50% off"},
      {"%", "%"},
      {"%[open", "%[open"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandReferences(c.text, lookup), c.expected) << c.text;
}

TEST(BatchLines, EveryEncodingNumbersEveryLineAndSkipsBlanksAndComments) {
  using Lines = std::vector<std::pair<uint32_t, std::string>>;
  const std::string text = "_smbmfg\r\n\n   \t\n# note\n  @randx[ \u00e9 ] \r\n_smbver";
  const std::string latin1 = "_smbmfg\r\n\n   \t\n# note\n  @randx[ \xE9 ] \r\n_smbver";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (const char16_t unit : DecodeUtf8(text)) {
    le += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    be += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
  }
  const Lines expected = {{1, "_smbmfg"}, {5, "@randx[ \u00e9 ]"}, {6, "_smbver"}};
  const std::pair<std::string, Lines> cases[] = {
      {text, expected}, {"\xEF\xBB\xBF" + text, expected}, {le, expected}, {be, expected},
      {latin1, expected},
      {"", {}}, {std::string("\xFF\xFEx\0y", 5), {{1, "x\uFFFD"}}},  // a last byte without its pair
      // CR alone ends a line too (old Mac editors), and CR LF is one end, not two.
      {"a\rb\r\r# c\rd\r\ne\r", {{1, "a"}, {2, "b"}, {5, "d"}, {6, "e"}}},
      {std::string("\xFF\xFE" "a\0\r\0b\0\r\0\n\0c\0", 14), {{1, "a"}, {2, "b"}, {3, "c"}}},
  };
  for (const auto& [bytes, lines] : cases) {
    Lines read;
    ForEachBatchLine(bytes, [&](const BatchLine& line) { read.emplace_back(line.number, line.text); });
    EXPECT_EQ(read, lines) << bytes;
  }
}

TEST(NameCall, ArgumentStandsBetweenFirstOpenAndLastCloseBracket) {
  const struct {
    std::string text;
    bool parses;
    std::string name, argument;
    bool bracketed;
  } cases[] = {
      {"_smbmfg", true, "_smbmfg", "", false},
      {"@randx", true, "@randx", "", false},
      {"@randx[]", true, "@randx", "", true},
      {"@smbword[4,0x16]", true, "@smbword", "4,0x16", true},
      {"@smbstring[1,\"[x]\"]", true, "@smbstring", "1,\"[x]\"", true},
      {"@smbword[4", false, "", "", false},
      {"@smbword]4[", false, "", "", false},
      {"@smbword[4]x", false, "", "", false},
  };
  for (const auto& c : cases) {
    NameCall call;
    std::string error;
    ASSERT_EQ(ParseNameCall(c.text, &call, &error), c.parses) << c.text;
    if (!c.parses) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(call.name, c.name);
    EXPECT_EQ(call.argument, c.argument);
    EXPECT_EQ(call.bracketed, c.bracketed);
  }
}

// A nested call's result stands in its place; an "@" that begins no call
// stays as typed, also right before one. Each function here answers with
// its argument.
TEST(NameCall, NestedCallsAndTheTextAroundThem) {
  const auto echo = [](const ExportEntry&, char16_t*) { return 0; };
  const struct {
    const char* text;
    bool ok;
    std::string value;
  } cases[] = {{"@smbstring[x@@randx[7]y]", true, "x@7y"}, {"@smbstring[@[a]@]", true, "@[a]@"},
               {"@smbstring[@nosuch[1]]", false, ""}, {"@smbstring[@x09[1]]", false, ""}};
  for (const auto& c : cases) {
    const CallResult result = CallName(c.text, echo);
    EXPECT_EQ(result.ok, c.ok) << c.text;
    EXPECT_EQ(result.value, c.value) << c.text;
  }
}

TEST(Options, ValuesFlagsAndErrors) {
  Task task;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--from-dump=a.dump", "--json", "--file", "-", "_smbmfg", "--file=b", "--", "--list"},
                           &task, &error))
      << error;
  EXPECT_EQ(task.source, TableSource::kDump);
  EXPECT_EQ(task.dump_file, "a.dump");
  EXPECT_EQ(task.format, Format::kJson);
  EXPECT_EQ(task.mode, Mode::kQuery);
  EXPECT_FALSE(task.list);  // after "--" it is a NAME
  EXPECT_EQ(task.batch_files, (std::vector<std::string>{"-", "b"}));
  EXPECT_EQ(task.names, (std::vector<std::string>{"_smbmfg", "--list"}));

  const std::vector<std::vector<std::string>> refused = {
      {"--nope"}, {"--dump-bin"}, {"--json=1"}, {"--sample", "--from-dump", "x"}, {"--json", "--cmd"}, {"-x"},
      // An empty FILE, a second table, and options that would shape no answer.
      {"--file=", "--sample"}, {"--file", ""}, {"--from-dump=a", "--from-dump=b"}, {"--sample", "--list", "--real"},
      {"--names", "--json"}, {"--help-name", "_smbver", "--json"}, {"--sample", "--dump-bin", "d", "--cmd"}};
  for (const auto& arguments : refused) {
    Task ignored;
    error.clear();
    EXPECT_FALSE(ParseOptions(arguments, &ignored, &error)) << arguments[0];
    EXPECT_FALSE(error.empty());
  }
  Task taken;  // beside a NAME each does what it says
  EXPECT_TRUE(ParseOptions({"--list", "--real", "--names", "--help-name", "x", "_smbmfg"}, &taken, &error)) << error;
}

TEST(Options, TypesAreNumbersFrom0To255AloneOrInLists) {
  const struct {
    const char* text;
    std::vector<uint8_t> types;  // none: refused
  } kCases[] = {{"17", {17}}, {"0x11", {17}}, {"0XfF", {255}}, {"17,4", {17, 4}}, {"0,0x7f,255", {0, 127, 255}},
                {"-1", {}},   {"1e3", {}},    {"0x", {}},      {"0x11h", {}},     {"17.0", {}},
                {"+17", {}},  {"256", {}},    {"17,", {}},     {",4", {}},        {"0x-1", {}}, {"", {}}};
  for (const auto& c : kCases) {
    std::vector<uint8_t> types;
    std::string error;
    EXPECT_EQ(ReadTypes(c.text, &types, &error), !c.types.empty()) << c.text;
    EXPECT_EQ(types, c.types) << c.text;
    EXPECT_EQ(error.find("a TYPE is a number 0-255") != std::string::npos, c.types.empty()) << c.text;
  }
}

TEST(NameListing, CallFormsWithEveryArgumentAndWholeFirstSentences) {
  const struct {
    std::u16string_view name;
    const char* call;
    const char* summary;
  } kRows[] = {
      {u"@smbreal", "@smbreal[name]",
       "Returns the value of an _smb variable, or N/A when the firmware left a placeholder there, such as "
       "\"To Be Filled By O.E.M.\" or \"Default string\""},
      {u"@smbqword", "@smbqword[type,offset[,handle[,flags]]]", "Returns a quad-word value from a SMB structure"},
      {u"@smbstring", "@smbstring[type,offset[,handle]]", "Returns a string from a SMB structure"},
      {u"@smbhandle", "@smbhandle[type,n]", "Returns the handle of the n-th SMB structure of a type"},
      {u"_smbassettag", "_smbassettag", "Returns the chassis asset tag string, or failing that, the baseboard asset tag"},
      {u"_smbbox", "_smbbox", "Returns a one-letter code for the chassis type"},
      {u"_smbuuid", "_smbuuid", "Returns the system UUID, XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(CallForm(*FindName(row.name)), row.call);
    EXPECT_EQ(HelpSummary(*FindName(row.name)), row.summary);
  }
}

TEST(TextQuoting, ListingEscapesAndLatin1) {
  EXPECT_EQ(ListingString("a\"b\\c\n\x7F\xE9"), "\"a\\\"b\\\\c\\x0a\\x7f\u00e9\"");
}

// Names asked again after two merges of the recent names into the kept
// ones, in an order that is not the names' own; two names of one FNV-1a hash.
TEST(SeenNames, ANameAskedAgainIsSeenHoweverManyCameBetween) {
  SeenNames seen;
  const auto name = [](int i) { return std::string("_").append(std::to_string(i)); };  // g++ 12 -O3 warns of `"_" + ...`
  for (int i = 0; i < 140000; ++i) ASSERT_TRUE(seen.Insert(name(i))) << i;
  for (int i = 0; i < 140000; i += 997) EXPECT_FALSE(seen.Insert(name(i))) << i;
  EXPECT_TRUE(seen.Insert("U5Lx5PTQ4FHq"));
  EXPECT_TRUE(seen.Insert("HnfvKDSKCVqv"));
  EXPECT_FALSE(seen.Insert("U5Lx5PTQ4FHq"));
}

TEST(CmdSetLine, ValuesThatCmdCarriesAndThoseItCannot) {
  const struct {
    std::string name, value;
    std::string refused;  // what the reason names; empty: carried
  } cases[] = {
      {"_smbmfg", "Brackenfold Computing", ""},
      {"_smbmfg", "", ""},
      {"_smbmfg", " A&B <C> | D ^E (x) ; y, =z ~$:#'*+-./?@[\\]_`{}", ""},
      {"@smbstring[1,4]", "x", ""},
      {"_smbmfg", "a\"b", "\"\"\" (U+0022)"},
      {"_smbmfg", "a\r", "U+000D"},
      {"_smbmfg", "a\tb", "U+0009"},
      {"_smbmfg", std::string("a\0b", 3), "U+0000"},
      {"_smbmfg", "hi!", "\"!\" (U+0021)"},
      {"_smbmfg", "a\x7F", "U+007F"},
      {"_smbmfg", "caf\xC3\xA9", "U+00E9"},  // UTF-8 as tarnwick writes it; for /f reads another code page
      {"@smbstring[1,\"a=b\"]", "x", "cannot name"},
      {"@smbstring[1,a=b]", "x", "cannot name"},
      // Wine's cmd.exe replaces the loop's for variables again, by patterns no guard ends: no "%" at all.
      {"_smbmfg", "50%", "\"%\" (U+0025)"},
      {"_smbmfg", "%~$PATH:x", "\"%\""},
      {"_smbmfg", std::string(8176, 'x'), ""},
      {"_smbmfg", std::string(8177, 'x'), "8177 bytes"},
  };
  for (const auto& c : cases) {
    std::string line, reason;
    ASSERT_EQ(CmdSetLine(c.name, c.value, &line, &reason), c.refused.empty()) << c.value;
    EXPECT_EQ(line, c.refused.empty() ? "set \"" + c.name + "=" + c.value + "\"\n" : "");
    EXPECT_TRUE(reason.find(c.refused) != std::string::npos && reason.empty() == c.refused.empty()) << reason;
  }
}

// Label values as node_exporter makes them: Go's white space trimmed (the
// ends of its ranges too), invalid bytes as one U+FFFD, escapes, placeholders empty.
TEST(PrometheusLabel, TrimmedEscapedAndValid) {
  const struct {
    std::string table, label;
  } cases[] = {{"\t Maker\r", "Maker"}, {"\x08x\x0E", "\x08x\x0E"}, {"\xC2\x85" "A\xC2\xA0", "A"},
               {"\xE2\x80\x80" "A\xE2\x80\x8A", "A"}, {"\xE2\x80\x8B" "A\xE3\x80\x80", "\xE2\x80\x8B" "A"},
               {"a\"b\\c\nd", "a\\\"b\\\\c\\nd"}, {"\xE9t\xFF\xFE", "\xEF\xBF\xBDt\xEF\xBF\xBD"},
               {" To Be Filled By O.E.M. ", ""}};
  for (const auto& c : cases) EXPECT_EQ(LabelValue(c.table), c.label) << c.table;
}

// Findings in words: hexadecimal numbers whole, a place written one way, the
// version a rule comes from named, and a defect's DSP0134 section.
TEST(TableFindings, FindingsInWords) {
  const struct {
    Finding finding;
    std::string line;
  } cases[] = {
      {{FindingKind::kEntryPointLength, kNoValue, kNoValue, 6, "Entry Point Length", 0x1E, 0x1F, 0, {}, true},
       "defect entry-point-length  entry point  offset 06h  Entry Point Length: length 1Eh, not the 1Fh of this "
       "entry point (DSP0134 5.2)\n"},
      {{FindingKind::kElementsPastLength, 3, 3, 0x13, "Contained Element Count", 0x115, 0x16, 0x40, {}, false},
       "defect elements-past-length  handle 0x0003  at 0x0040  type 3  offset 13h  Contained Element Count: the "
       "contained elements end at 0115h, past the structure's length 16h (DSP0134 7.4)\n"},
      {{FindingKind::kShortForVersion, 3, 3, 1, "Length", 0x1B, 0x143, 0x40, {}, false, 0x0303, true},
       "defect short-structure  handle 0x0003  at 0x0040  type 3  offset 01h  Length: length 1Bh, shorter than the "
       "0143h that SMBIOS 3.3 requires: the fields from 1Bh on are missing (DSP0134 7.4)\n"},
      {{FindingKind::kShortForVersion, 9, 17, 1, "Length", 0x0C, 0x15, 0x40, {}, false, 0x0201, false},
       "defect short-structure  handle 0x0009  at 0x0040  type 17  offset 01h  Length: length 0Ch, shorter than the "
       "15h that SMBIOS 2.1, the first version to define this type, requires (the table states none): the fields "
       "from 0Ch on are missing (DSP0134 7.18)\n"},
      {{FindingKind::kLengthBelowHeader, 5, 0, 1, "Length", 0, 0, 0x10F37, {}, false},
       "defect length-below-header  handle 0x0005  at 0x00010F37  type 0  offset 01h  Length: length 0, below the 4 "
       "bytes of a header: the structures from here on are lost (DSP0134 6.1.2)\n"},
      {{FindingKind::kStructureMissing, kNoValue, 9, kNoValue, nullptr, 0, 0, 0, {}, false, 0x0303, true},
       "defect structure-missing  type 9  structure: no System Slots structure (type 9): SMBIOS 2.3 and later "
       "require one (DSP0134 6.2)\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(FindingLine(c.finding), c.line);
}

// Identical findings on consecutive structures of a type read as one line
// with their count and handles; JSON keeps an object for each.
TEST(TableFindings, IdenticalFindingsInOneLine) {
  std::vector<testing::Structure> structures = {
      {16, 0x1000, testing::Formatted(0x0F, {{4, 3}, {5, 3}, {6, 3}, {0x0B, 0xFE}, {0x0C, 0xFF}, {0x0D, 4}}), {}}};
  for (const uint16_t handle : {0x1100, 0x1101, 0x1102, 0x1105}) {
    structures.push_back({17, handle, testing::Formatted(0x1B, {{5, 0x10}, {6, 0xFE}, {7, 0xFF}, {0x0C, 1}, {0x0E, 9},
                                                                {0x10, 1}, {0x12, 0x1A}, {0x18, 2}}),
                          {"DIMM", "SerNum0"}});
  }
  structures.push_back({127, 0x7F00, {}, {}});
  const Bytes table = testing::BareTable(structures);
  const TableModel model = ReadTableModel(table);
  std::string lines, json;
  WriteFindings(false, model, [&](std::string_view text) { lines += text; });
  WriteFindings(true, model, [&](std::string_view text) { json += text; });
  EXPECT_EQ(lines, "unfilled placeholder-text  type 17, 4 structures (0x1100-0x1102, 0x1105)  offset 18h  Serial "
                   "Number: placeholder text \"SerNum0\"\n0 defects, 4 unfilled, 0 notes\n");
  EXPECT_EQ(std::count(json.begin(), json.end(), '{'), 4) << json;
}

// AMI's placeholder UUID, stored little-endian, as --check --json gives it.
TEST(TableFindings, APlaceholderUuidAsItReads) {
  Bytes system = testing::Formatted(0x19);
  for (uint8_t i = 1; i < 16; i += 2) system[8 - 4 + i] = static_cast<uint8_t>(i / 2 + 2);
  ASSERT_EQ(testing::LoadTable(testing::RawTable(
                testing::BareTable({{200, 0x10, {}, {}}, {1, 0x11, system, {}}, {127, 0x12, {}, {}}}), 3, 4)),
            0);
  std::string json;
  for (const Finding& finding : CheckModel(ReadTableModel(HeldTable()))) json += FindingJson(finding);
  EXPECT_NE(json.find("\"value\":\"03000200-0400-0500-0006-000700080009\""), std::string::npos) << json;
  ShutdownPlugin(0);
}

// Under another folder than /sys, the table is read from its
// firmware/dmi/tables as the plug-in reads the system's.
TEST(MachineTable, ATableUnderAnotherFolder) {
  const std::filesystem::path sysfs = std::filesystem::temp_directory_path() / "tarnwick-machine-table-test";
  const std::filesystem::path tables = platform::DmiTablesFolder(sysfs.string());
  std::filesystem::create_directories(tables);
  const Bytes table = testing::BareTable({{1, 0x01, testing::Formatted(0x08, {{4, 1}}), {"Maker"}}, {127, 2, {}, {}}});
  const Bytes dump = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), true, 3, 4, 0, 2, 15});
  std::ofstream(tables / "smbios_entry_point", std::ios::binary)
      .write(reinterpret_cast<const char*>(dump.data()), kDumpTableAddress);
  std::ofstream(tables / "DMI", std::ios::binary)
      .write(reinterpret_cast<const char*>(dump.data()) + kDumpTableAddress, std::streamsize(table.size()));
  MachineTable machine;
  ASSERT_EQ(LoadMachineTable(sysfs.string(), "", &machine), 0);
  EXPECT_EQ(CallOnMachine(machine, "_smbmfg").value, "Maker");
  ShutdownPlugin(0);
  std::filesystem::remove_all(sysfs);
}

TEST(FileReader, AFileThatShrinksWhileReadIsNoticed) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "tarnwick-shrinking.bin";
  std::ofstream(path, std::ios::binary) << std::string(4096, 'x');
  platform::FileReader file;
  uint8_t bytes[4096];
  std::string error;
  ASSERT_TRUE(file.Open(path.string(), &error)) << error;
  ASSERT_EQ(file.Read(bytes, 100, &error), 100) << error;
  EXPECT_FALSE(file.Changed());
  std::filesystem::resize_file(path, 50);
  EXPECT_EQ(file.Read(bytes, sizeof bytes, &error), 0);  // the end came early
  EXPECT_TRUE(file.Changed());
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace tarnwick::cli
