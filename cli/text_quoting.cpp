#include "cli/text_quoting.h"

namespace tarnwick::cli {
namespace {

char16_t HexDigit(unsigned value) { return static_cast<char16_t>(value < 10 ? u'0' + value : u'a' + value - 10); }

}  // namespace

std::u16string JsonString(std::u16string_view text) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    switch (c) {
      case u'"':
        out += u"\\\"";
        break;
      case u'\\':
        out += u"\\\\";
        break;
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
        if (c < 0x20) {
          out += u"\\u00";
          out += HexDigit(c >> 4);
          out += HexDigit(c & 0xF);
        } else {
          out += c;
        }
    }
  }
  out += u'"';
  return out;
}

std::u16string ListingString(std::u16string_view text) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    if (c == u'"' || c == u'\\') {
      out += u'\\';
      out += c;
    } else if (c < 0x20 || c == 0x7F) {
      out += u"\\x";
      out += HexDigit(c >> 4);
      out += HexDigit(c & 0xF);
    } else {
      out += c;
    }
  }
  out += u'"';
  return out;
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
