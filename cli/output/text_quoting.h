// The table's strings and numbers as tarnwick's outputs write them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::cli {

// The pieces end to end. (Appending spares g++ 12 its false -Wrestrict on
// a literal plus a temporary string.)
template <class... Pieces>
std::string Join(const Pieces&... pieces) {
  std::string out;
  ((out += pieces), ...);
  return out;
}

// The low `digits` hexadecimal digits of `value`: upper-case, as DSP0134
// writes offsets and handles ("001F", "3A"), or lower-case for escapes.
std::string HexDigits(uint64_t value, int digits, bool lower_case = false);

// A firmware string (one byte one character, ISO 8859-1, as the plug-in
// reads it) double-quoted in UTF-8 for a listing line: quotes and
// backslashes escaped, control characters (C0, DEL, C1) as \xHH, so that a
// line stays one line and sends the terminal no sequence.
std::string ListingString(std::string_view bytes);

// The same without the quotes, for a line that holds it alone after a
// name: backslashes and control characters escaped.
std::string LineString(std::string_view bytes);

// The same string in UTF-8 as it stands, for JSON, which escapes it itself.
std::string FirmwareText(std::string_view bytes);

}  // namespace tarnwick::cli
