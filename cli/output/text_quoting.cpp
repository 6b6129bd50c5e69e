#include "cli/output/text_quoting.h"

namespace tarnwick::cli {

std::string HexDigits(uint64_t value, int digits, bool lower_case) {
  const char* symbols = lower_case ? "0123456789abcdef" : "0123456789ABCDEF";
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = symbols[value & 0xF];
  return text;
}

namespace {

// Escapes what `also` names besides backslashes and control characters.
std::string Escaped(std::string_view bytes, char also) {
  std::string out;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '\\' || (also != 0 && byte == also)) {
      out += '\\';
      out += byte;
    } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {  // C0, DEL and C1 (9Bh opens a terminal sequence)
      out += "\\x" + HexDigits(c, 2, true);
    } else {
      out += FirmwareText(std::string_view(&byte, 1));
    }
  }
  return out;
}

}  // namespace

std::string ListingString(std::string_view bytes) { return '"' + Escaped(bytes, '"') + '"'; }

std::string LineString(std::string_view bytes) { return Escaped(bytes, 0); }

std::string FirmwareText(std::string_view bytes) {
  std::string out;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x80) {  // U+0080-U+00FF in two bytes
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += byte;
    }
  }
  return out;
}

}  // namespace tarnwick::cli
