// The command-line host's parts that need no process of their own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "cli/batch_file.h"
#include "cli/cmd_set_lines.h"
#include "cli/dump_layout.h"
#include "cli/name_call.h"
#include "cli/name_listing.h"
#include "cli/options.h"
#include "cli/seen_names.h"
#include "cli/text_quoting.h"
#include "cli/utf8_utf16.h"
#include "cli/variable_expansion.h"
#include "host/exports.h"
#include "platform/platform.h"
#include "plugin/firmware_service.h"
#include "plugin/lifecycle.h"
#include "smbios/firmware_table.h"
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

TEST(Options, ValuesFlagsAndErrors) {
  Options options;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--from-dump=a.dump", "--json", "--file", "-", "_smbmfg", "--file=b", "--", "--list"},
                           &options, &error))
      << error;
  EXPECT_TRUE(options.from_dump);
  EXPECT_EQ(options.dump_file, "a.dump");
  EXPECT_TRUE(options.json);
  EXPECT_FALSE(options.list);  // after "--" it is a NAME
  EXPECT_EQ(options.batch_files, (std::vector<std::string>{"-", "b"}));
  EXPECT_EQ(options.names, (std::vector<std::string>{"_smbmfg", "--list"}));

  const std::vector<std::vector<std::string>> refused = {
      {"--nope"}, {"--dump-bin"}, {"--json=1"}, {"--sample", "--from-dump", "x"}, {"--json", "--cmd"}, {"-x"},
      // An empty FILE, a second table, and options that would shape no answer.
      {"--file=", "--sample"}, {"--file", ""}, {"--from-dump=a", "--from-dump=b"}, {"--sample", "--list", "--real"},
      {"--names", "--json"}, {"--help-name", "_smbver", "--json"}, {"--sample", "--dump-bin", "d", "--cmd"}};
  for (const auto& arguments : refused) {
    Options ignored;
    error.clear();
    EXPECT_FALSE(ParseOptions(arguments, &ignored, &error)) << arguments[0];
    EXPECT_FALSE(error.empty());
  }
  Options taken;  // beside a NAME each does what it says
  EXPECT_TRUE(ParseOptions({"--list", "--real", "--names", "--help-name", "x", "_smbmfg"}, &taken, &error)) << error;
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
  for (int i = 0; i < 140000; ++i) ASSERT_TRUE(seen.Insert("_" + std::to_string(i))) << i;
  for (int i = 0; i < 140000; i += 997) EXPECT_FALSE(seen.Insert("_" + std::to_string(i))) << i;
  EXPECT_TRUE(seen.Insert("U5Lx5PTQ4FHq"));
  EXPECT_TRUE(seen.Insert("HnfvKDSKCVqv"));
  EXPECT_FALSE(seen.Insert("U5Lx5PTQ4FHq"));
}

TEST(CmdSetLine, ValuesThatCmdCarriesAndThoseItCannot) {
  const struct {
    std::string name, value;
    bool carried;
  } cases[] = {
      {"_smbmfg", "Brackenfold Computing", true},
      {"_smbmfg", "", true},
      {"_smbmfg", "50% & <a|b> ^x", true},
      {"@smbstring[1,4]", "x", true},
      {"_smbmfg", "a\"b", false},
      {"_smbmfg", "a\r", false},
      {"_smbmfg", "a\nb", false},
      {"_smbmfg", std::string("a\0b", 3), false},
      {"_smbmfg", "hi!", false},
      {"@smbstring[1,\"a=b\"]", "x", false},
      // Wine's cmd.exe replaces the loop's for variables again; Ctrl-Z ends its reading; a line ends at 8190.
      {"_smbmfg", "%a %C %~dp0 %PATH% %~ 50%", true},
      {"_smbmfg", "x%A", false},
      {"_smbmfg", "%~nB", false},
      {"_smbmfg", "%~$PATH:L", false},
      {"_smbmfg", "a\x1A" "b", false},
      {"_smbmfg", std::string(8176, 'x'), true},
      {"_smbmfg", std::string(8177, 'x'), false},
  };
  for (const auto& c : cases) {
    std::string line, reason;
    ASSERT_EQ(CmdSetLine(c.name, c.value, &line, &reason), c.carried) << c.value;
    EXPECT_EQ(line, c.carried ? "set \"" + c.name + "=" + c.value + "\"\n" : "");
    EXPECT_EQ(reason.empty(), c.carried);
  }
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

// ---- Dump layouts -------------------------------------------------------

uint8_t Sum(const Bytes& bytes, size_t from, size_t length) {
  uint8_t sum = 0;
  for (size_t i = from; i < from + length; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  return sum;
}

Bytes Table() {
  return testing::BareTable({{1, 0, testing::Formatted(27, {{4, 1}}), {"Maker"}},
                             {4, 1, testing::Formatted(48), {"A", "BCDEFG"}},
                             {127, 2, {}, {}}});
}

Bytes ReadBack(const Bytes& dump) {
  Bytes service;
  std::string error;
  EXPECT_TRUE(ServiceLayoutFromFile(dump, &service, &error)) << error;
  return service;
}

TEST(DumpLayout, Smbios3EntryPoint) {
  const Bytes table = Table();
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
  const Bytes table = Table();
  ASSERT_EQ(testing::LoadTable(testing::RawTable(table, 2, 7)), 0);
  const Bytes dump = DumpLayout(LoadedTableImage());
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
  const Bytes table = Table();
  const Bytes dump = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), false, 0, 0, 0});
  EXPECT_EQ(std::string(dump.begin(), dump.begin() + 5), "_DMI_");
  EXPECT_EQ(Sum(dump, 0, 0x0F), 0);
  EXPECT_EQ(dump[0x0E], 0);
  EXPECT_EQ(ReadBack(dump), table);
}

TEST(DumpLayout, TableTooLongForA16BitLengthGetsSmbios3) {
  const Bytes structure = testing::BareTable({{1, 0, testing::Formatted(27), {std::string(200, 'x')}}});
  Bytes table;
  while (table.size() <= 0xFFFF) table.insert(table.end(), structure.begin(), structure.end());
  const Bytes dump = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), true, 2, 8, 0});
  EXPECT_EQ(std::string(dump.begin(), dump.begin() + 5), "_SM3_");
  EXPECT_EQ(ReadBack(dump).size(), table.size() + 8);
}

TEST(DumpLayout, BrokenDumpsAreRefusedAndOtherFilesPassAsTheyAre) {
  const Bytes table = Table();
  Bytes dump = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), true, 3, 0, 0});
  const std::vector<Bytes> broken = {
      Bytes(dump.begin(), dump.begin() + 0x17),  // _SM3_ cut short
      Bytes{'_', 'S', 'M', '_', 0, 0x1F},        // _SM_ cut short
      Bytes{'_', 'D', 'M', 'I', '_', 0, 0, 0},   // _DMI_ cut short
      [&] {
        Bytes b = dump;
        b[0x10] = 0xFF;
        return b;
      }(),  // table address past the end
  };
  for (const Bytes& file : broken) {
    Bytes service;
    std::string error;
    EXPECT_FALSE(ServiceLayoutFromFile(file, &service, &error));
    EXPECT_FALSE(error.empty());
  }
  // An entry point that overstates the table's length ends it at the file's end.
  dump[0x0C] = 0xFF, dump[0x0D] = 0xFF;
  EXPECT_EQ(ReadBack(dump).size(), table.size() + 8);
  // A version the loader's header check refuses: the table goes on bare.
  Bytes old = DumpLayout({table.data(), static_cast<uint32_t>(table.size()), true, 1, 9, 0});
  EXPECT_EQ(ReadBack(old), table);
  EXPECT_EQ(ReadBack(table), table);
  EXPECT_EQ(ReadBack({}), Bytes{});
}

// The entry point claims exactly what the loader indexed: nothing after the
// end-of-table structure, nothing from a structure cut short.
TEST(DumpLayout, CountsAreWhatTheLoaderRead) {
  const Bytes after_end = testing::BareTable({{1, 0, {}, {"A"}}, {127, 1, {}, {}}, {2, 2, testing::Formatted(60), {}}});
  const Bytes table = Table();
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
    const TableImage image = LoadedTableImage();
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
  const Bytes table = Table();
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
}  // namespace tarnwick::cli
