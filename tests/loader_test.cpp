#include <gtest/gtest.h>

#include "plugin/exports.h"
#include "smbios/firmware_table.h"
#include "tests/support/recording_host.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

TEST(Loader, SmokeLoadsOneStructure) {
  ResetHostVariables();
  ClearRecorded();
  Bytes raw = RawTable(BareTable({{1, 0, Formatted(27, {{4, 1}}), {"Maker"}}, {127, 1, {}, {}}}), 3, 4);
  EXPECT_EQ(LoadTable(raw), 0);
  EXPECT_EQ(g_structure_index.count, 2u);
  char16_t buffer[8192] = {};
  EXPECT_EQ(_smbmfg(buffer), 0);
  EXPECT_EQ(std::u16string(buffer), u"Maker");
  EXPECT_EQ(_smbver(buffer), 0);
  EXPECT_EQ(std::u16string(buffer), u"3.4");
}

}  // namespace
}  // namespace tarnwick::testing
