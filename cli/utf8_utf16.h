// UTF-8, tarnwick's text, to UTF-16, the plug-in's, and back.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::cli {

// A malformed sequence (stray continuation byte, overlong form, encoded
// surrogate, value above U+10FFFF, truncated sequence) becomes one U+FFFD,
// the continuation bytes that follow it included.
std::u16string DecodeUtf8(std::string_view bytes);

// Unpaired surrogates become U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

}  // namespace tarnwick::cli
