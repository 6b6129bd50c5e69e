// The table's strings for the structure listing, quoted or as they stand.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::cli {

// A firmware string (one byte one character, ISO 8859-1, as the plug-in
// reads it) double-quoted in UTF-8 for a listing line: quotes and
// backslashes escaped, control characters (C0, DEL, C1) as \xHH, so that a
// line stays one line and sends the terminal no sequence.
std::string ListingString(std::string_view bytes);

// The same string in UTF-8 as it stands, for JSON, which escapes it itself.
std::string FirmwareText(std::string_view bytes);

}  // namespace tarnwick::cli
