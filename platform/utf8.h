// UTF-16 to UTF-8 at the operating-system edge, without allocating.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick::platform {

// Calls sink(const char* bytes, size_t count) with the UTF-8 form of `text`
// in pieces; an unpaired surrogate becomes U+FFFD.
template <class Sink>
void EncodeUtf8(const char16_t* text, size_t length, Sink&& sink) {
  char chunk[256];
  size_t used = 0;
  for (size_t i = 0; i < length; ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (used + 4 > sizeof chunk) {
      sink(chunk, used);
      used = 0;
    }
    if (code < 0x80) {
      chunk[used++] = static_cast<char>(code);
    } else if (code < 0x800) {
      chunk[used++] = static_cast<char>(0xC0 | (code >> 6));
      chunk[used++] = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      chunk[used++] = static_cast<char>(0xE0 | (code >> 12));
      chunk[used++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      chunk[used++] = static_cast<char>(0x80 | (code & 0x3F));
    } else {
      chunk[used++] = static_cast<char>(0xF0 | (code >> 18));
      chunk[used++] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      chunk[used++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      chunk[used++] = static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  if (used != 0) sink(chunk, used);
}

}  // namespace tarnwick::platform
