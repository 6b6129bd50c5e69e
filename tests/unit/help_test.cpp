// Help: the name lookup (tarnwick's too) and the exact texts the host shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/exports.h"
#include "host/export_table.h"
#include "tests/support/recording_host.h"

namespace tarnwick::testing {
namespace {

TEST(HelpTest, EveryTextOpensWithItsNameInUpperCase) {
  for (const ExportEntry& row : kExportTable) {
    // The name in upper case, a blank, CR LF and an empty line; the lines
    // after it end in a bare LF.
    std::u16string name(row.name);
    for (char16_t& c : name) c = UpperCase(c);
    const std::u16string text(row.help);
    EXPECT_EQ(text.rfind(name, 0), 0u) << Narrow(text);
    const size_t opening = text.find(u" \r\n\n");
    ASSERT_NE(opening, std::u16string::npos) << Narrow(text);
    EXPECT_EQ(text.find(u'\r', opening + 2), std::u16string::npos);
    EXPECT_EQ(text.back(), u'\n');
  }
}

TEST(HelpTest, LookupIgnoresTheCaseOfAsciiLettersOnly) {
  const ExportEntry* byte_row = FindName(u"@smbbyte");
  ASSERT_NE(byte_row, nullptr);
  for (const char16_t* name : {u"@SMBBYTE", u"@SmbByte", u"@smbbyte"}) EXPECT_EQ(FindName(name), byte_row);
  for (const char16_t* name : {u"smbbyte", u"f_smbbyte", u"@smbbyte ", u"@smbbyt", u"@smbbytes", u"",
                               u"_SMBVE\u0280", u"@\u0160mbbyte"}) {
    EXPECT_EQ(FindName(name), nullptr) << Narrow(name);
  }
  EXPECT_EQ(Help(nullptr), 0);
}

TEST(HelpTest, ShowsTheTextAndReturnsOne) {
  // On Linux the message box is the text on standard output.
  std::fflush(stdout);
  char* captured = nullptr;
  size_t size = 0;
  FILE* memory = open_memstream(&captured, &size);
  FILE* saved = stdout;
  stdout = memory;
  const int shown = Help(u"_SMBVER");
  const int declined = Help(u"f_smbver");
  std::fclose(memory);
  stdout = saved;
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(declined, 0);
  EXPECT_EQ(std::string(captured, size),
            "_SMBVER \r\n\nReturns the SMBIOS version, X.y, or  \nN/A if it is not available.\n");
  std::free(captured);
}

}  // namespace
}  // namespace tarnwick::testing
