// What the plug-in tells the host about itself, its seed and the opening of
// every diagnostic.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "functions/random_generator.h"
#include "host/diagnostics.h"
#include "host/export_table.h"
#include "host/exports.h"
#include "plugin/lifecycle.h"
#include "tests/support/recording_host.h"

namespace tarnwick::testing {
namespace {

TEST(PluginInfoTest, DescribesThePluginAndAllItsNames) {
  PluginInfo* first = GetPluginInfo();
  PluginInfo* second = GetPluginInfo();
  ASSERT_EQ(first, second);
  EXPECT_EQ(std::u16string(first->name), u"Tarnwick");
  EXPECT_EQ(std::u16string(first->description), u"Tarnwick plugin");
  // Every name of the list once, without blanks: the variables, then the
  // functions, each group in alphabetical order whatever the list's order.
  std::vector<std::u16string> variables, functions;
  for (const ExportEntry& row : kExportTable) (row.is_function ? functions : variables).emplace_back(row.name);
  std::sort(variables.begin(), variables.end());
  std::sort(functions.begin(), functions.end());
  std::u16string expected;
  for (const auto* group : {&variables, &functions}) {
    for (const std::u16string& name : *group) expected += (expected.empty() ? u"" : u",") + name;
  }
  EXPECT_EQ(std::u16string(first->implements), expected);
  // The build's version, from project().
  EXPECT_EQ(first->major, TARNWICK_VERSION_MAJOR);
  EXPECT_EQ(first->minor, TARNWICK_VERSION_MINOR);
  EXPECT_EQ(first->build, TARNWICK_VERSION_PATCH);
  for (const char16_t* text : {first->author, first->email, first->web}) {
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(std::u16string(text).empty());
  }
  // Each field is one machine word: the host reads them at word offsets.
  static_assert(sizeof(PluginInfo) == 9 * sizeof(void*));
}

// The build reads the list's rows for the module-definition file and the
// version script; it must find every row the compiler finds, in order.
TEST(PluginInfoTest, TheBuildsExportsAreTheList) {
  std::ifstream file(TARNWICK_EXPORTS_FILE);
  std::vector<std::string> exports(std::istream_iterator<std::string>(file), {});
  std::vector<std::string> expected = {"GetPluginInfo", "InitializePlugin", "ShutdownPlugin", "Help"};
  for (const ExportEntry& row : kExportTable) expected.push_back(Narrow(std::u16string(row.export_name)));
  EXPECT_EQ(exports, expected);
}

TEST(SeedTest, MixesTheUtcTimeAsDesigned) {
  const platform::UtcTime june5 = {6, 5, 1, 2, 3, 4};
  const uint32_t expected = ((65536u + 2) * 1997u) ^ ((3u * 65536 + 4) * 449u) ^ ((6u * 65536 + 5) * 17u);
  EXPECT_EQ(SeedFromTime(june5), expected);
  // The products wrap in 32 bits instead of overflowing into the next term.
  const platform::UtcTime late = {12, 31, 23, 59, 59, 999};
  EXPECT_EQ(SeedFromTime(late), ((23u * 65536 + 59) * 1997u) ^ ((59u * 65536 + 999) * 449u) ^
                                    ((12u * 65536 + 31) * 17u));
}

TEST(RandomGeneratorTest, FollowsTheLinearCongruentialSequence) {
  // From state 1 the draws are 41 (0x29), ...; from 0xFFFFFFFF the state
  // wraps in 32 bits.
  for (const auto& [seed, expected] : {std::pair{1u, u"93E41C6E"}, std::pair{0xFFFFFFFFu, u"3BE5CE5D"}}) {
    char16_t digits[9] = {};
    SeedRandom(seed);
    DrawHexDigits(digits, 8);
    EXPECT_EQ(std::u16string(digits), expected);
  }
}

TEST(ErrorPrefixTest, NamesTheBatchLocationOnlyInsideABatchFile) {
  struct {
    const char16_t* batch;
    const char16_t* expected;
  } const cases[] = {
      {u"0", u"Tarnwick plugin: "},
      {u"1", u"Tarnwick plugin: C:\\jobs\\inventory.btm [12]  "},
      {u"2", u"Tarnwick plugin: C:\\jobs\\inventory.btm [12]  "},
      // A batch name holding a format directive is written as text.
      {u"1%s", u"Tarnwick plugin: C:\\jobs\\inventory.btm [12]  "},
  };
  for (const auto& c : cases) {
    ResetHostVariables();
    HostVariables()[u"_batch"] = c.batch;
    HostVariables()[u"_batchname"] = u"C:\\jobs\\inventory.btm";
    HostVariables()[u"_batchline"] = u"12";
    ClearRecorded();
    EXPECT_EQ(PrintErrorPrefix(), 0);
    EXPECT_EQ(Recorded().standard_error, c.expected) << Narrow(c.batch);
  }
  HostVariables()[u"_batch"] = u"1";
  HostVariables()[u"_batchname"] = u"100%d %s.btm";
  ClearRecorded();
  PrintErrorPrefix();
  EXPECT_EQ(Recorded().standard_error, u"Tarnwick plugin: 100%d %s.btm [12]  ");
  ResetHostVariables();
}

}  // namespace
}  // namespace tarnwick::testing
