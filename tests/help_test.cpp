// Help: the name lookup and the exact texts the host shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "plugin/export_table.h"
#include "plugin/exports.h"
#include "plugin/help.h"
#include "tests/support/recording_host.h"

namespace tarnwick::testing {
namespace {

TEST(HelpTest, EveryNameHasItsTextInListOrder) {
  ASSERT_EQ(std::size(kHelpTable), kNameCount);
  for (size_t i = 0; i < kNameCount; ++i) {
    const HelpEntry& row = kHelpTable[i];
    EXPECT_EQ(std::u16string(row.name), kExportTable[i].name);
    EXPECT_EQ(row.extra, nullptr);
    // The text opens with the name in upper case, a blank and CR LF, then
    // an empty line; the lines after it end in a bare LF.
    std::u16string name(row.name);
    for (char16_t& c : name) c = (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
    const std::u16string text(row.text);
    EXPECT_EQ(text.rfind(name, 0), 0u) << Narrow(text);
    const size_t opening = text.find(u" \r\n\n");
    ASSERT_NE(opening, std::u16string::npos) << Narrow(text);
    EXPECT_EQ(text.find(u'\r', opening + 2), std::u16string::npos);
    EXPECT_EQ(text.back(), u'\n');
  }
}

TEST(HelpTest, ExactTextsOfSomeRows) {
  struct {
    const char16_t* name;
    const char16_t* text;
  } const cases[] = {
      {u"_smbver", u"_SMBVER \r\n\nReturns the SMBIOS version, X.y, or  \nN/A if it is not available.\n"},
      {u"_smbbox",
       u"_SMBBOX \r\n\nReturns a one-letter code for the chassis type:  \n  L    for Portable, LapTop, Notebook, "
       u"Hand Held, Sub Notebook, Tablet, Convertible, or Detachable  \n  D    for anything else.\n"},
      {u"_smbchassislock",
       u"_SMBCHASSISLOCK \r\n\nReturns 'Present' or 'Not present', or  \nN/A if this information is not "
       u"present.  \n"},
      {u"@randx", u"@RANDX[n] \r\n\nGenerates a string of n random hex digits.  \n"},
      {u"@smbqword",
       u"@SMBQWORD[type,offset,handle] \r\n\nReturns a quad-word value from a SMB structure.  \n\n  type\t0 - "
       u"255\n  offset\t4 - 248\n  handle\t0 - 0xffff (optional)  \n\nReturns N/A on any error.\n"},
  };
  for (const auto& c : cases) {
    const HelpEntry* row = FindHelp(c.name);
    ASSERT_NE(row, nullptr) << Narrow(c.name);
    EXPECT_EQ(std::u16string(row->text), c.text);
  }
}

TEST(HelpTest, LookupIgnoresTheCaseOfAsciiLettersOnly) {
  const HelpEntry* byte_row = FindHelp(u"@smbbyte");
  ASSERT_NE(byte_row, nullptr);
  for (const char16_t* name : {u"@SMBBYTE", u"@SmbByte", u"@smbbyte"}) EXPECT_EQ(FindHelp(name), byte_row);
  for (const char16_t* name : {u"smbbyte", u"f_smbbyte", u"@smbbyte ", u"@smbbyt", u"@smbbytes", u"",
                               u"_SMBVE\u0280", u"@\u0160mbbyte"}) {
    EXPECT_EQ(FindHelp(name), nullptr) << Narrow(name);
  }
  EXPECT_EQ(FindHelp(nullptr), nullptr);
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
