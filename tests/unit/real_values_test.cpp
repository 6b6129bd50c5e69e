// The placeholder rule and @smbreal, which answers through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <vector>

#include "host/exports.h"
#include "smbios/reading/placeholder_texts.h"
#include "smbios/reading/placeholders.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

TEST(PlaceholderRuleTest, TextsShapesAndUuids) {
  const std::pair<std::string, bool> cases[] = {
      {"To Be Filled By O.E.M.", true},   {"   to be filled by o.e.m.", true},  // padded, any case
      {"DefaultString", true},            {"default \t string ", true},         // blanks left out
      {"Default strings", false},         {"To Be Filled By O.E.M", false},     // the last dot counts
      {"N/A", true},                      {"   ", false},                        // blanks only: no value
      {"0", true},                        {"0000000000000000000000", true},    // only zeros
      {"0.0", false},                     {"...", true},                        // only dots
      {". .", false},                     {"Unspecified System Serial Number", true},  // the longest row
      {"03000200-0400-0500-0006-000700080009", true},  // as DSP0134 2.6 shows AMI's UUID
      {"00020003-0004-0005-0006-000700080009", true},  // and as stored before 2.6
      {"0a0a0a0a-0a0a-0a0a-0a0a-0a0a0a0a0a0a", true},  {"4C4C4544-0050-4D10-8059-C2C04F303832", false},
  };
  for (const auto& [text, placeholder] : cases) {
    EXPECT_EQ(IsPlaceholderString(text), placeholder) << '"' << text << '"';
    EXPECT_EQ(IsPlaceholderText(std::u16string(text.begin(), text.end())), placeholder) << '"' << text << '"';
  }
}

// The listed part of the rule, probed around every listed text, in both
// widths: the text itself in other case and blanks is a placeholder, and so
// is it padded with blanks; one character more or less at either end makes
// a text that is a placeholder only where it is itself a row of the table
// (in any case): "Asset Tag:" less its colon, "XXXXXX" less an X.
TEST(PlaceholderRuleTest, EveryListedTextAndItsNeighbours) {
  const auto is_row = [](const std::string& text) {
    return std::any_of(std::begin(kPlaceholderTexts), std::end(kPlaceholderTexts), [&](std::string_view row) {
      return std::equal(row.begin(), row.end(), text.begin(), text.end(),
                        [](char a, char b) { return std::toupper(static_cast<uint8_t>(a)) == std::toupper(static_cast<uint8_t>(b)); });
    });
  };
  const std::string blanks = " \t\xA0", more = "0 19AaMmXxZz._-:#$()[]<>/\t\xA0\xE9";
  size_t neighbours = 0;
  for (std::string_view row : kPlaceholderTexts) {
    const std::string text(row);
    std::string lower = text, upper = text, spaced;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
    for (char c : text) spaced += std::string(1, c) + (c == ' ' ? "\t\xA0" : " ");
    std::vector<std::pair<std::string, bool>> probes = {{text, true}, {lower, true}, {upper, true}, {" " + spaced, true}};
    for (const std::string& cut : {text.substr(1), text.substr(0, text.size() - 1)}) probes.emplace_back(cut, is_row(cut));
    for (char c : more) {
      const bool blank = blanks.find(c) != std::string::npos;
      for (const std::string& longer : {text + c, c + text}) probes.emplace_back(longer, blank || is_row(longer));
    }
    for (const auto& [probe, placeholder] : probes) {
      neighbours += placeholder && is_row(probe) && probe.size() != text.size();
      EXPECT_EQ(IsPlaceholderString(probe), placeholder) << '"' << probe << '"';
      std::u16string wide;
      for (char c : probe) wide += static_cast<char16_t>(static_cast<uint8_t>(c));
      EXPECT_EQ(IsPlaceholderText(wide), placeholder) << '"' << probe << '"';
    }
  }
  EXPECT_GT(neighbours, 20u);  // the probes reach rows from their neighbours
}

class SmbRealTest : public PluginTest {};

TEST_F(SmbRealTest, AnswersTheValueOrNotAvailableAndRefusesAnythingButAVariable) {
  // System Information (DSP0134 7.2): strings at 04h-07h, UUID at 08h.
  ASSERT_EQ(LoadTable(RawTable(BareTable({{1, 1, Formatted(0x1B, {{4, 1}, {5, 2}, {7, 3}, {8, 0x12}}),
                                           {"Maker", "To be filled by O.E.M.", "SN-4711"}},
                                          {127, 2, {}, {}}}),
                               3, 4)),
            0);
  const CallCase answered[] = {
      {&f_smbreal, u" \"_SMBMFG\" ", u"Maker"},
      {&f_smbreal, u"_smbproduct", u"N/A"},
      {&f_smbreal, u"_smbserial,junk", u"SN-4711"},  // a second argument is not read
      {&f_smbreal, u"_smbuuid", u"00000012-0000-0000-0000-000000000000"},
      {&f_smbreal, u"_smbbbmfg", u""},  // no baseboard: empty, as the variable answers
  };
  for (const CallCase& c : answered) ExpectAnswered(c);
  const CallCase refused[] = {
      {&f_smbreal, u"", u"Missing variable name\r\n"},
      {&f_smbreal, u"_smbnosuch", u"Bad variable name (must be an _smb variable) \"_SMBNOSUCH\"\r\n"},
      {&f_smbreal, u"@smbbyte", u"Bad variable name (must be an _smb variable) \"@SMBBYTE\"\r\n"},
  };
  for (const CallCase& c : refused) ExpectRefused(c);
  EXPECT_EQ(f_smbreal(nullptr), -1);
}

}  // namespace
}  // namespace tarnwick::testing
