// UTF-8 to UTF-16 and back at the operating-system edge.
#pragma once

#include <utf8.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::platform {

// Calls sink(const char* bytes, size_t count) with the UTF-8 form of `text`
// in pieces, without allocating; an unpaired surrogate becomes U+FFFD.
template <class Sink>
void EncodeUtf8(const char16_t* text, size_t length, Sink&& sink) {
  char chunk[256];
  char* used = chunk;
  for (size_t i = 0; i < length; ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00u);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (used + 4 > chunk + sizeof chunk) {
      sink(chunk, static_cast<size_t>(used - chunk));
      used = chunk;
    }
    used = utf8::unchecked::append(code, used);
  }
  if (used != chunk) sink(chunk, static_cast<size_t>(used - chunk));
}

// The same as one text.
inline std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  EncodeUtf8(text.data(), text.size(), [&out](const char* bytes, size_t count) { out.append(bytes, count); });
  return out;
}

// A malformed sequence (stray continuation byte, overlong form, encoded
// surrogate, value above U+10FFFF, truncated sequence) becomes one U+FFFD,
// the continuation bytes that follow it included.
inline std::u16string DecodeUtf8(std::string_view bytes) { return utf8::utf8to16(utf8::replace_invalid(bytes)); }

}  // namespace tarnwick::platform
