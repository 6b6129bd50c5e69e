// Argument splitting, number parsing, the structure field functions and
// @randx.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "functions/argument_list.h"
#include "functions/random_generator.h"
#include "host/exports.h"
#include "tests/support/plugin_test.h"
#include "tests/support/recording_host.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

// ---- SplitArguments ---------------------------------------------------

struct SplitCase {
  const char16_t* text;
  int32_t count;
  std::vector<const char16_t*> arguments;  // null: a null text
};

TEST(SplitArgumentsTest, CutsAtCommasOutsideQuotes) {
  const SplitCase cases[] = {
      {u"", 0, {}},
      {u"4,0x16", 2, {u"4", u"0X16"}},
      {u"  4 ,  22  ", 2, {u"4", u"22"}},
      {u"1,4,,1", 4, {u"1", u"4", nullptr, u"1"}},
      {u"4,", 1, {u"4"}},
      {u",4", 2, {nullptr, u"4"}},
      {u"\"1,2\",3", 2, {u"1,2", u"3"}},
      {u"\" 4 \"", 1, {u" 4"}},
      {u"0x\"1\"f", 1, {u"0X1F"}},
      {u"\" \"", 1, {u""}},
      {u"a b", 1, {u"A B"}},
      {u"1\"2,3", 1, {u"12,3"}},  // a quote never closed runs to the end
      {u"\u00a04\u00a0,\t5\r\n", 2, {u"4", u"5"}},
      {u"\u00e9a,\u3000x", 2, {u"\u00e9A", u"X"}},  // only a-z change case
      {u"/=,x", 2, {u"/=", u"X"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(SplitArguments(c.text), c.count);
    ASSERT_EQ(g_arguments.count, c.count);
    for (size_t k = 0; k < c.arguments.size(); ++k) {
      if (c.arguments[k] == nullptr) {
        EXPECT_EQ(g_arguments.texts[k], nullptr);
        EXPECT_EQ(g_arguments.lengths[k], 0);
      } else {
        ASSERT_NE(g_arguments.texts[k], nullptr);
        EXPECT_EQ(std::u16string(g_arguments.texts[k]), c.arguments[k]);
        EXPECT_EQ(g_arguments.lengths[k], int32_t(std::u16string(c.arguments[k]).size()));
      }
    }
    for (int32_t k = c.count; k < kMaxArguments; ++k) {
      EXPECT_EQ(g_arguments.texts[k], nullptr);
      EXPECT_EQ(g_arguments.lengths[k], 0);
    }
  }
}

TEST(SplitArgumentsTest, NullTextLeavesTheListAsItWas) {
  SplitArguments(u"7,8");
  EXPECT_EQ(SplitArguments(nullptr), -1);
  EXPECT_EQ(g_arguments.count, 2);
  EXPECT_EQ(std::u16string(g_arguments.texts[1]), u"8");
}

// The host may evaluate names on several threads: a split on one must not
// change the list another thread is reading.
TEST(SplitArgumentsTest, EachThreadSplitsIntoItsOwnList) {
  SplitArguments(u"1,2");
  std::thread other([] {
    EXPECT_EQ(g_arguments.count, 0);
    SplitArguments(u"7");
    EXPECT_EQ(std::u16string(g_arguments.texts[0]), u"7");
  });
  other.join();
  EXPECT_EQ(g_arguments.count, 2);
  EXPECT_EQ(std::u16string(g_arguments.texts[0]), u"1");
}

TEST(SplitArgumentsTest, KeepsTheFirst1024Arguments) {
  std::u16string text;
  for (int i = 0; i < 1100; ++i) text += u"7,";
  text += u"9";
  SplitArguments(text.c_str());
  EXPECT_EQ(g_arguments.count, kMaxArguments);
  EXPECT_EQ(std::u16string(g_arguments.texts[kMaxArguments - 1]), u"7");
  for (int32_t k = 0; k < kMaxArguments; ++k) ASSERT_EQ(g_arguments.lengths[k], 1) << k;  // none overwritten
  // The next split leaves no entry of this one behind.
  EXPECT_EQ(SplitArguments(u"5"), 1);
  for (int32_t k = 1; k < kMaxArguments; ++k) ASSERT_EQ(g_arguments.texts[k], nullptr) << k;
}

TEST(SplitArgumentsTest, OverlongTextsStopAtTheStoreWithADiagnostic) {
  ResetHostVariables();
  struct {
    const char* name;
    std::u16string text;
  } const cases[] = {
      // Commas advance the write position too: a text beyond the host's
      // buffer must not carry it past the store.
      {"20000 commas", std::u16string(20000, u',')},
      {"commas between letters", [] {
         std::u16string t;
         for (int i = 0; i < 10000; ++i) t += u"a,";
         return t;
       }()},
      {"8192 letters", std::u16string(8192, u'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecorded();
    EXPECT_EQ(SplitArguments(c.text.c_str()), -1);
    EXPECT_EQ(Recorded().standard_error, u"Tarnwick plugin: Buffer overflow: b = 8191, MAX_ARG_LEN = 8192 \r\n");
    EXPECT_EQ(g_arguments.count, 0);
  }
  // 8191 characters, all the host's buffer holds, always fit.
  ClearRecorded();
  EXPECT_EQ(SplitArguments(std::u16string(8191, u',').c_str()), kMaxArguments);  // empty ones count
  EXPECT_EQ(SplitArguments(std::u16string(8191, u'x').c_str()), 1);
  EXPECT_EQ(g_arguments.lengths[0], 8191);
  EXPECT_EQ(Recorded().standard_error, u"");
}

// ---- ParseNumber ------------------------------------------------------

TEST(ParseNumberTest, ReadsDecimalAndHexadecimal) {
  const std::pair<const char16_t*, uint32_t> accepted[] = {
      {u"0", 0},          {u"010", 10},          {u"4294967295", 4294967295u}, {u"0xFFFFFFFF", 4294967295u},
      {u"0X1f", 31},      {u"0x0x1F", 31},       {u"0x0X1f", 31},             {u"0x000000000001", 1},
      {u"00000000000000000004294967295", 4294967295u},
  };
  for (auto [text, value] : accepted) {
    uint32_t parsed = 12345;
    EXPECT_EQ(ParseNumber(text, &parsed), 0) << Narrow(text);
    EXPECT_EQ(parsed, value) << Narrow(text);
  }
  const char16_t* rejected[] = {u"4294967296", u"0x100000000", u"0x", u"0xG", u"+1", u"-1", u" 1", u"1 ",
                                u"1,2", u"", u"0x0x", u"0x0xG", u"x1", u"1x", u"\uff11", u"99999999999999999999"};
  for (const char16_t* text : rejected) {
    uint32_t parsed = 12345;
    EXPECT_EQ(ParseNumber(text, &parsed), -1) << Narrow(text);
    EXPECT_EQ(parsed, 12345u) << Narrow(text);
  }
  uint32_t parsed = 0;
  EXPECT_EQ(ParseNumber(nullptr, &parsed), -1);
  EXPECT_EQ(ParseNumber(u"1", nullptr), -1);
}

// ---- Field functions --------------------------------------------------

class FieldFunctionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ResetHostVariables();
    const Bytes processor = Formatted(0x30, {{0x16, 0x34}, {0x17, 0x12}, {0x04, 1}, {0x07, 2}, {0x10, 9}});
    const Bytes all_ones = [] {
      Bytes b = Formatted(0x20);
      for (int i = 0x10; i < 0x18; ++i) b[i - 4] = 0xFF;
      return b;
    }();
    ASSERT_EQ(LoadTable(RawTable(BareTable({
                                     {1, 0x0100, Formatted(27, {{4, 1}, {5, 0xAB}}), {"Maker", "Model"}},
                                     {4, 0x0400, processor, {"CPU0", "Intel"}},
                                     {4, 0x0401, Formatted(0x30, {{0x16, 0x78}, {0x04, 1}}), {"CPU1"}},
                                     {0xDD, 0x0000, Formatted(6, {{4, 0x11}, {5, 0x22}}), {}},
                                     {0xDE, 0x0500, all_ones, {}},
                                     {127, 0xFEFF, {}, {}},
                                 }),
                                 3, 4)),
              0);
  }

};


const CallCase kFieldCases[] = {
      {&f_smbword, u"4,0x16", u"4660"},
      {&f_smbword, u"4,0x16,,1", u"0x1234"},
      {&f_smbword, u"4,22,0x401", u"120"},
      {&f_smbword, u"4,22,0x402", u"N/A"},   // no structure has that handle
      {&f_smbbyte, u"1,4,,1", u"0x01"},
      {&f_smbbyte, u"1,5", u"171"},
      {&f_smbbyte, u"1,5,,2", u"171"},       // only bit 0 of the flags counts
      {&f_smbbyte, u"1,5,,3", u"0xab"},
      {&f_smbbyte, u"1,5,0x100", u"171"},
      {&f_smbbyte, u"1,5,0", u"N/A"},
      {&f_smbdword, u"4,0x14,,1", u"0x12340000"},
      {&f_smbqword, u"0xDE,0x10", u"18446744073709551615"},
      {&f_smbqword, u"0xDE,0x10,,1", u"0xffffffffffffffff"},
      {&f_smbqword, u"0xDE,0x18,,1", u"0x0000000000000000"},  // ends at the last byte
      {&f_smbqword, u"0xDE,0x17,,1", u"0x00000000000000ff"},
      {&f_smbqword, u"0xDE,0x19,,1", u"N/A"},  // runs past the 32-byte structure
      {&f_smbqword, u"0xDE,0x0F,,1", u"0xffffffffffffff00"},
      {&f_smbword, u"0xDD,4", u"8721"},      // length 6: offsets 4 and 5
      {&f_smbword, u"0xDD,5", u"N/A"},
      {&f_smbbyte, u"0xDD,5", u"34"},
      {&f_smbbyte, u"0xDD,6", u"N/A"},
      {&f_smbbyte, u"9,4", u"N/A"},          // no such type
      {&f_smbbyte, u"1,255", u"N/A"},        // range tops: accepted, never present
      {&f_smbword, u"1,254", u"N/A"},
      {&f_smbdword, u"1,252", u"N/A"},
      {&f_smbqword, u"1,248", u"N/A"},
      {&f_smbstring, u"1,255", u"N/A"},
      {&f_smbstring, u"1,4", u"Maker"},
      {&f_smbstring, u"4,4,0x401", u"CPU1"},
      {&f_smbstring, u"4,7", u"Intel"},
      {&f_smbstring, u"4,0x10", u"N/A"},      // string 9 of a set of 2
      {&f_smbstring, u"4,4,,junk", u"CPU0"},  // a fourth argument is ignored
      {&f_smbstring, u"1,5", u"N/A"},         // 0xAB past the set
      {&f_smbstring, u"0xDD,4", u"N/A"},      // a structure without strings
      {&f_smbstring, u"1,0x1B", u"N/A"},      // offset equal to the length
      {&f_smbbyte, u" \"1\" , \"4\" ,, \"1\" ", u"0x01"},
      {&f_smbbyte, u"1,4,,1,junk", u"0x01"},  // a fifth argument is not read
      {&f_smbword, u"4,0X16,,0x0x1", u"0x1234"},
      {&f_smbword, u"0004,00022,01024", u"4660"},
  };

TEST_F(FieldFunctionTest, ReadsFieldsOfTheChosenStructure) {
  for (const CallCase& c : kFieldCases) ExpectAnswered(c);
}

const CallCase kDiagnosticCases[] = {
      {&f_smbword, u"", u"Missing structure type\r\n"},
      {&f_smbword, u",4", u"Missing structure type\r\n"},
      {&f_smbword, u" , xyz", u"Missing structure type\r\n"},
      {&f_smbword, u"abc,x,y,z", u"Bad structure type \"ABC\"\r\n"},
      {&f_smbword, u"-1,4", u"Bad structure type \"-1\"\r\n"},
      {&f_smbword, u"0x100,4", u"Bad structure type (must be 0 - 255) \"0X100\"\r\n"},
      {&f_smbword, u"256", u"Bad structure type (must be 0 - 255) \"256\"\r\n"},
      {&f_smbword, u"1", u"Missing offset\r\n"},
      {&f_smbword, u"1,,abc", u"Missing offset\r\n"},
      {&f_smbword, u"1,4x", u"Bad offset \"4X\"\r\n"},
      {&f_smbword, u"1,3", u"Bad offset (must be 4 - 254) \"3\"\r\n"},
      {&f_smbword, u"1,255", u"Bad offset (must be 4 - 254) \"255\"\r\n"},
      {&f_smbbyte, u"1,256", u"Bad offset (must be 4 - 255) \"256\"\r\n"},
      {&f_smbstring, u"1,3", u"Bad offset (must be 4 - 255) \"3\"\r\n"},
      {&f_smbdword, u"1,253", u"Bad offset (must be 4 - 252) \"253\"\r\n"},
      {&f_smbqword, u"1,249", u"Bad offset (must be 4 - 248) \"249\"\r\n"},
      {&f_smbqword, u"1,0x0", u"Bad offset (must be 4 - 248) \"0X0\"\r\n"},
      {&f_smbword, u"1,4,h", u"Bad handle \"H\"\r\n"},
      {&f_smbword, u"1,4,0x10000", u"Bad handle (must be 0x0000 - 0xffff) \"0X10000\"\r\n"},
      {&f_smbword, u"1,4,4294967295", u"Bad handle (must be 0x0000 - 0xffff) \"4294967295\"\r\n"},
      {&f_smbstring, u"1,4,\"1 2\"", u"Bad handle \"1 2\"\r\n"},
      {&f_smbword, u"1,4,,flag", u"Bad flags \"FLAG\"\r\n"},
      {&f_smbqword, u"1,4,1,0x", u"Bad flags \"0X\"\r\n"},
      {&f_smbqword, u"1,4,1,0x100000000", u"Bad flags \"0X100000000\"\r\n"},
  };

TEST_F(FieldFunctionTest, RefusesBadArgumentsInOrderWithOneDiagnostic) {
  for (const CallCase& c : kDiagnosticCases) ExpectRefused(c);
}

TEST_F(FieldFunctionTest, NullBufferDoesNothing) {
  for (NameExport function : {&f_smbstring, &f_smbbyte, &f_smbword, &f_smbdword, &f_smbqword, &f_randx}) {
    ClearRecorded();
    EXPECT_EQ(function(nullptr), -1);
    EXPECT_EQ(Recorded().standard_error, u"");
  }
}

TEST_F(FieldFunctionTest, DiagnosticsInsideABatchFileCarryTheLocation) {
  // Whole strings, not literals, are assigned: g++ 12 at -O3 reports a
  // false -Wrestrict overlap for a literal assigned to a map's string.
  HostVariables().insert_or_assign(u"_batch", std::u16string(u"1"));
  HostVariables().insert_or_assign(u"_batchname", std::u16string(u"C:\\inv.btm"));
  HostVariables().insert_or_assign(u"_batchline", std::u16string(u"7"));
  const Outcome outcome = Call(&f_smbbyte, u"1");
  ResetHostVariables();
  EXPECT_EQ(outcome.standard_error, u"Tarnwick plugin: C:\\inv.btm [7]  Missing offset\r\n");
}

// ---- @randx -----------------------------------------------------------

TEST_F(FieldFunctionTest, RandomDigitsFromAnUnseededThread) {
  SeedRandom(1);
  const Outcome eight = Call(&f_randx, u"");
  EXPECT_EQ(eight.result, 0);
  EXPECT_EQ(eight.text, u"93E41C6E");
  SeedRandom(1);
  EXPECT_EQ(Call(&f_randx, u"  16").text.substr(0, 8), u"93E41C6E");
}

TEST_F(FieldFunctionTest, RandomDigitsCountAndDiagnostics) {
  struct {
    const char16_t* argument;
    int result;
    size_t digits;             // for result 0
    const char16_t* buffer;    // for result -1
    const char16_t* message;   // for result -1
  } const cases[] = {
      {u"0", 0, 0, nullptr, nullptr},
      {u"1024", 0, 1024, nullptr, nullptr},
      {u"0x400", 0, 1024, nullptr, nullptr},
      {u"  16", 0, 16, nullptr, nullptr},
      {u"1025", -1, 0, u"1025", u"Number too large: 1025\r\n"},
      {u"0x401", -1, 0, u"0x401", u"Number too large: 1025\r\n"},
      {u"4294967295", -1, 0, u"4294967295", u"Number too large: 4294967295\r\n"},
      {u"4294967296", -1, 0, u"4294967296", u"Invalid number: '4294967296'\r\n"},
      {u"   ", -1, 0, u"   ", u"Invalid number: ''\r\n"},
      {u"abc", -1, 0, u"ABC", u"Invalid number: 'ABC'\r\n"},
      {u"  x1", -1, 0, u"  X1", u"Invalid number: 'X1'\r\n"},
      {u"16 ", -1, 0, u"16 ", u"Invalid number: '16 '\r\n"},
      {u"+16", -1, 0, u"+16", u"Invalid number: '+16'\r\n"},
      {u"8,9", -1, 0, u"8,9", u"Invalid number: '8,9'\r\n"},
      {u"\"8\"", -1, 0, u"\"8\"", u"Invalid number: '\"8\"'\r\n"},
  };
  for (const auto& c : cases) {
    SeedRandom(77);
    const Outcome outcome = Call(&f_randx, c.argument);
    EXPECT_EQ(outcome.result, c.result) << Narrow(c.argument);
    if (c.result == 0) {
      EXPECT_EQ(outcome.text.size(), c.digits);
      EXPECT_EQ(outcome.text.find_first_not_of(u"0123456789ABCDEF"), std::u16string::npos);
      EXPECT_EQ(outcome.standard_error, u"");
    } else {
      EXPECT_EQ(outcome.text, c.buffer) << Narrow(c.argument);
      EXPECT_EQ(outcome.standard_error, std::u16string(u"Tarnwick plugin: ") + c.message) << Narrow(c.argument);
      // A refused call makes no draw.
      char16_t first[2] = {}, after[2] = {};
      SeedRandom(77);
      DrawHexDigits(first, 1);
      SeedRandom(77);
      Call(&f_randx, c.argument);
      DrawHexDigits(after, 1);
      EXPECT_EQ(std::u16string(after), first);
    }
  }
}

}  // namespace
}  // namespace tarnwick::testing
