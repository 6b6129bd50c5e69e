#include "cli/utf8_decode.h"

#include <cstdint>

#include "platform/utf8.h"

namespace tarnwick::cli {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, uint32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
    return;
  }
  code -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (code >> 10));
  out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

}  // namespace

std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    if (lead < 0x80) {
      out += lead;
      ++i;
      continue;
    }
    // Sequence length and the smallest value that needs it (no overlong forms).
    size_t length = 0;
    uint32_t code = 0;
    uint32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07, smallest = 0x10000;
    }
    size_t taken = 1;
    while (length != 0 && taken < length && i + taken < bytes.size()) {
      const auto next = static_cast<uint8_t>(bytes[i + taken]);
      if ((next & 0xC0) != 0x80) break;
      code = (code << 6) | (next & 0x3F);
      ++taken;
    }
    const bool complete = length != 0 && taken == length;
    if (complete && code >= smallest && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
      AppendCodePoint(out, code);
    } else {
      out += kReplacement;
    }
    i += taken;
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  platform::EncodeUtf8(text.data(), text.size(), [&out](const char* bytes, size_t count) { out.append(bytes, count); });
  return out;
}

}  // namespace tarnwick::cli
