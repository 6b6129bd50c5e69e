// UTF-16 to UTF-8 at the operating-system edge, without allocating.
#pragma once

#include <utf8.h>

#include <cstddef>
#include <cstdint>

namespace tarnwick::platform {

// Calls sink(const char* bytes, size_t count) with the UTF-8 form of `text`
// in pieces; an unpaired surrogate becomes U+FFFD.
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

}  // namespace tarnwick::platform
