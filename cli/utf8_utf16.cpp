#include "cli/utf8_utf16.h"

#include <utf8.h>

#include "platform/utf8.h"

namespace tarnwick::cli {

std::u16string DecodeUtf8(std::string_view bytes) { return utf8::utf8to16(utf8::replace_invalid(bytes)); }

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  platform::EncodeUtf8(text.data(), text.size(), [&out](const char* bytes, size_t count) { out.append(bytes, count); });
  return out;
}

}  // namespace tarnwick::cli
