#include "cli/name_message.h"

#include "cli/host_state.h"
#include "cli/output.h"

namespace tarnwick::cli {

std::string EchoText(std::string_view text) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) {  // a continuation byte belongs to the character before
      out += text[i];
      continue;
    }
    if (++characters > kEchoedCharacters) return out + "...";
    unsigned control = byte < 0x20 || byte == 0x7F ? byte : 0x100;
    // U+0080-U+009F in UTF-8: C2 80 to C2 9F.
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F &&
        static_cast<unsigned char>(text[i + 1]) >= 0x80) {
      control = static_cast<unsigned char>(text[++i]);
    }
    if (control > 0xFF) {
      out += text[i];
      continue;
    }
    out += "\\x";
    out += kDigits[control >> 4];
    out += kDigits[control & 0xF];
  }
  return out;
}

void RefuseName(std::string_view text, std::string_view reason) {
  const HostState& host = Host();
  std::string location;
  if (host.in_batch) location = host.batch_name + " [" + std::to_string(host.batch_line) + "]  ";
  Err("tarnwick: " + location + EchoText(text) + ": " + std::string(reason) + "\n");
}

}  // namespace tarnwick::cli
