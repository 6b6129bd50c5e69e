// What the plug-in tells the host about itself, its seed and the opening of
// every diagnostic.
#include <gtest/gtest.h>

#include <string>

#include "functions/random_generator.h"
#include "host/diagnostics.h"
#include "plugin/export_table.h"
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
  EXPECT_EQ(std::u16string(first->implements),
            u"_smbassettag,_smbbbassettag,_smbbbmfg,_smbbbproduct,_smbbbserial,_smbbbversion,_smbbiosdate,"
            u"_smbbiosrev,_smbbiosvendor,_smbbiosversion,_smbbox,_smbchassis,_smbchassislock,_smbchassismfg,"
            u"_smbchassisserial,_smbchassistag,_smbchassistype,_smbchassisversion,_smbcores,_smbcpuclock,"
            u"_smbcpucount,_smbcpumfg,_smbcpusocket,_smbcpuspeed,_smbcpuversion,_smbecversion,_smbfamily,"
            u"_smbmemory,_smbmfg,_smbproduct,_smbserial,_smbsku,_smbsysversion,_smbthreads,_smbuuid,_smbver,"
            u"@randx,@smbbyte,@smbcount,@smbdword,@smbhandle,@smbqword,@smbstring,@smbstrnum,@smbword");
  EXPECT_EQ(first->major, 0);
  EXPECT_EQ(first->minor, 26);
  EXPECT_EQ(first->build, 3);
  for (const char16_t* text : {first->author, first->email, first->web}) {
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(std::u16string(text).empty());
  }
  // Each field is one machine word: the host reads them at word offsets.
  static_assert(sizeof(PluginInfo) == 9 * sizeof(void*));
}

TEST(SeedTest, MixesTheUtcTimeAsDesigned) {
  const platform::UtcTime june5 = {6, 5, 1, 2, 3, 4};
  const uint32_t expected = ((65536u + 2) * 1997u) ^ ((3u * 65536 + 4) * 449u) ^ ((6u * 65536 + 5) * 17u);
  EXPECT_EQ(SeedFromTime(june5), expected);
  EXPECT_EQ(SeedFromTime(june5), SeedFromTime(june5));
  // The products wrap in 32 bits instead of overflowing into the next term.
  const platform::UtcTime late = {12, 31, 23, 59, 59, 999};
  EXPECT_EQ(SeedFromTime(late), ((23u * 65536 + 59) * 1997u) ^ ((59u * 65536 + 999) * 449u) ^
                                    ((12u * 65536 + 31) * 17u));
}

TEST(RandomGeneratorTest, FollowsTheLinearCongruentialSequence) {
  SeedRandom(1);
  EXPECT_EQ(DrawRandom(), 41u);
  SeedRandom(0xFFFFFFFF);
  const uint32_t state = 0xFFFFFFFFu * 214013u + 2531011u;
  EXPECT_EQ(DrawRandom(), (state >> 16) & 0x7FFF);
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
