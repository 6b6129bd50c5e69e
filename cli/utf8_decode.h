// UTF-8 to UTF-16 for command-line arguments and batch lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick::cli {

// Every malformed sequence (stray continuation byte, overlong form, encoded
// surrogate, value above U+10FFFF, truncated sequence) becomes one U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string EncodeUtf8(std::u16string_view text);

}  // namespace tarnwick::cli
