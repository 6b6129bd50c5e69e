#include "cli/text_quoting.h"

namespace tarnwick::cli {

std::string ListingString(std::string_view bytes) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += byte;
    } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {  // C0, DEL and C1 (9Bh opens a terminal sequence)
      out += "\\x";
      out += kDigits[c >> 4];
      out += kDigits[c & 0xF];
    } else if (c >= 0x80) {  // U+0080-U+00FF in two bytes
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += byte;
    }
  }
  return out + '"';
}

std::string FirmwareText(std::string_view bytes) {
  std::string out;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x80) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += byte;
    }
  }
  return out;
}

}  // namespace tarnwick::cli
