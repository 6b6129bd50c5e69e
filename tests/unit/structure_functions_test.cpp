// @smbcount, @smbhandle and @smbstrnum: results and diagnostics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/exports.h"
#include "host/host_interface.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

class StructureFunctionsTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    // Three memory devices among other structures, OEM strings, and a
    // structure without strings.
    ASSERT_EQ(LoadTable(RawTable(BareTable({
                                     {1, 0x0001, Formatted(0x1B, {{4, 1}}), {"Maker"}},
                                     {17, 0x0011, Formatted(0x28), {"DIMM A"}},
                                     {11, 0x000B, Formatted(5, {{4, 3}}), {"first", "second", "third"}},
                                     {17, 0x1234, Formatted(0x28), {"DIMM B"}},
                                     {32, 0x0020, Formatted(11), {}},
                                     {17, 0xFFFE, Formatted(0x28), {"DIMM C"}},
                                     {11, 0x000C, Formatted(5, {{4, 1}}), {"other"}},
                                     {127, 0x00FF, {}, {}},
                                 }),
                                 3, 4)),
              0);
    ClearRecorded();
  }

};


TEST_F(StructureFunctionsTest, Results) {
  const CallCase cases[] = {
      {&f_smbcount, u"17", u"3"},
      {&f_smbcount, u"0x0B", u"2"},
      {&f_smbcount, u"4", u"0"},
      {&f_smbcount, u"17,junk", u"3"},  // a second argument is not read
      {&f_smbhandle, u"17,1", u"17"},
      {&f_smbhandle, u"17,2", u"4660"},
      {&f_smbhandle, u"17,3", u"65534"},
      {&f_smbhandle, u"17,4", u"N/A"},  // past the last
      {&f_smbhandle, u"17,65535", u"N/A"},
      {&f_smbstrnum, u"11,1", u"first"},
      {&f_smbstrnum, u"11,3", u"third"},
      {&f_smbstrnum, u"11,4", u"N/A"},  // past the last string
      {&f_smbstrnum, u"11,1,0x0C", u"other"},
      {&f_smbstrnum, u"11,1,0x0D", u"N/A"},  // no such handle
      {&f_smbstrnum, u"32,1", u"N/A"},       // a structure without strings
      {&f_smbstrnum, u"4,1", u"N/A"},        // no such type
      {&f_smbstrnum, u"11,2,,junk", u"second"},  // a fourth argument is not read
  };
  for (const CallCase& c : cases) ExpectAnswered(c);
}

// The type and handle rules are the field functions' own; one row each shows
// that they are applied.
TEST_F(StructureFunctionsTest, Diagnostics) {
  const CallCase cases[] = {
      {&f_smbcount, u"", u"Missing structure type\r\n"},
      {&f_smbhandle, u",1", u"Missing structure type\r\n"},
      {&f_smbhandle, u"17", u"Missing structure number\r\n"},
      {&f_smbhandle, u"17,first", u"Bad structure number \"FIRST\"\r\n"},
      {&f_smbhandle, u"17,0", u"Bad structure number (must be 1 - 65535) \"0\"\r\n"},
      {&f_smbhandle, u"17,65536", u"Bad structure number (must be 1 - 65535) \"65536\"\r\n"},
      {&f_smbstrnum, u"11", u"Missing string number\r\n"},
      {&f_smbstrnum, u"11,0", u"Bad string number (must be 1 - 255) \"0\"\r\n"},
      {&f_smbstrnum, u"11,256", u"Bad string number (must be 1 - 255) \"256\"\r\n"},
      {&f_smbstrnum, u"11,1,0x10000", u"Bad handle (must be 0x0000 - 0xffff) \"0X10000\"\r\n"},
  };
  for (const CallCase& c : cases) ExpectRefused(c);
}

TEST_F(StructureFunctionsTest, NullBufferDoesNothing) {
  for (NameExport function : {&f_smbcount, &f_smbhandle, &f_smbstrnum}) {
    EXPECT_EQ(function(nullptr), -1);
    EXPECT_EQ(Recorded().standard_error, u"");
  }
}

}  // namespace
}  // namespace tarnwick::testing
