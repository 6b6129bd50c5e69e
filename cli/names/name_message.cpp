#include "cli/names/name_message.h"

#include "cli/names/host_state.h"
#include "cli/output/output.h"
#include "cli/output/text_quoting.h"
#include "cli/names/utf8_utf16.h"

namespace tarnwick::cli {

std::string EchoText(std::string_view text) {
  // A character takes at most four bytes: the bytes past those of the
  // characters shown need no decoding.
  const std::u16string wide = DecodeUtf8(text.substr(0, 4 * (kEchoedCharacters + 1)));
  std::u16string out;
  size_t characters = 0;
  for (size_t i = 0; i < wide.size(); ++i) {
    const char16_t c = wide[i];
    if (c >= 0xDC00 && c <= 0xDFFF) {  // the second half of a pair: DecodeUtf8 makes no other
      out += c;
      continue;
    }
    if (++characters > kEchoedCharacters) return EncodeUtf8(out) + "...";
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {  // C0, DEL and C1
      out += DecodeUtf8("\\x" + HexDigits(c, 2, true));
    } else {
      out += c;
    }
  }
  return EncodeUtf8(out);
}

void RefuseName(std::string_view text, std::string_view reason) {
  const HostState& host = Host();
  std::string location;
  if (host.in_batch) location = host.batch_name + " [" + std::to_string(host.batch_line) + "]  ";
  Err("tarnwick: " + location + EchoText(text) + ": " + std::string(reason) + "\n");
}

}  // namespace tarnwick::cli
