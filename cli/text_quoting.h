// Quoting of texts for the structure listing and the JSON output, and
// numbers as text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::cli {

// A JSON string literal: quotes, backslash and control characters escaped.
std::u16string JsonString(std::u16string_view text);

// A double-quoted text for a listing line: quotes and backslashes escaped,
// control characters as \xHH, so that a line stays one line.
std::u16string ListingString(std::u16string_view text);

// Unsigned decimal digits.
std::u16string DecimalText(uint64_t value);

}  // namespace tarnwick::cli
