#include "cli/output/cmd_set_lines.h"

#include <string>

#include "cli/names/utf8_utf16.h"

namespace tarnwick::cli {
namespace {

// The longest line cmd.exe runs: 8190 characters and its end. A longer set
// line sets nothing and ends the whole for /f loop. Counted in bytes, which
// are never fewer than the characters of UTF-8.
constexpr size_t kLongestLine = 8190;

bool Passes(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         kCmdCharacters.find(c) != std::string_view::npos;
}

// The first character of `text` that does not pass, as the reason names it:
// "%" (U+0025), U+001A, or U+00E9 for the bytes C3h A9h; empty when all pass.
std::string Refused(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (Passes(text[i])) continue;
    const char16_t unit = DecodeUtf8(text.substr(i, 4))[0];
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string code = "U+";
    for (int shift = 12; shift >= 0; shift -= 4) code += kDigits[(unit >> shift) & 0xF];
    return unit > 0x20 && unit < 0x7F ? '"' + std::string(1, text[i]) + "\" (" + code + ")" : code;
  }
  return {};
}

}  // namespace

bool CmdSetLine(std::string_view name, std::string_view value, std::string* line, std::string* reason) {
  if (const std::string refused = Refused(value); !refused.empty()) {
    *reason = "the value holds " + refused +
              ", which --cmd does not write: it writes only blanks, ASCII letters, digits and " +
              std::string(kCmdCharacters.substr(1)) + " (--json carries every value)";
    return false;
  }
  if (name.find('=') != std::string_view::npos || !Refused(name).empty()) {
    *reason = "cmd.exe cannot name a variable so";
    return false;
  }
  *line = "set \"" + std::string(name) + '=' + std::string(value) + "\"\n";
  if (line->size() - 1 > kLongestLine) {
    *reason = "the value holds " + std::to_string(value.size()) + " bytes: its line set \"...\" would be " +
              std::to_string(line->size() - 1) + ", longer than the " + std::to_string(kLongestLine) +
              " that cmd.exe runs";
    line->clear();
    return false;
  }
  return true;
}

}  // namespace tarnwick::cli
