// Quoting of the table's strings for the structure listing.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::cli {

// A firmware string (one byte one character, ISO 8859-1, as the plug-in
// reads it) double-quoted in UTF-8 for a listing line: quotes and
// backslashes escaped, control characters (C0, DEL, C1) as \xHH, so that a
// line stays one line and sends the terminal no sequence.
std::string ListingString(std::string_view bytes);

}  // namespace tarnwick::cli
