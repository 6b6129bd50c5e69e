#include "cli/text_quoting.h"

namespace tarnwick::cli {
namespace {

void AppendHex(std::u16string& out, const char16_t* prefix, char16_t c) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  out += prefix;
  out += kDigits[(c >> 4) & 0xF];
  out += kDigits[c & 0xF];
}

// Double quotes around `text`, a backslash before quotes and backslashes,
// and control characters (and DEL) as `escape_control` writes them.
template <class EscapeControl>
std::u16string Quote(std::u16string_view text, EscapeControl escape_control) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    if (c == u'"' || c == u'\\') {
      out += u'\\';
      out += c;
    } else if (c < 0x20 || c == 0x7F) {
      escape_control(out, c);
    } else {
      out += c;
    }
  }
  out += u'"';
  return out;
}

}  // namespace

std::u16string JsonString(std::u16string_view text) {
  return Quote(text, [](std::u16string& out, char16_t c) {
    switch (c) {
      case u'\n':
        out += u"\\n";
        break;
      case u'\r':
        out += u"\\r";
        break;
      case u'\t':
        out += u"\\t";
        break;
      default:
        AppendHex(out, u"\\u00", c);
    }
  });
}

std::u16string ListingString(std::u16string_view text) {
  return Quote(text, [](std::u16string& out, char16_t c) { AppendHex(out, u"\\x", c); });
}

std::u16string DecimalText(uint64_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

}  // namespace tarnwick::cli
