// tarnwick's own messages about a NAME: what the user typed, cut to a
// readable length, where it stood (a batch file's name and line, as the
// plug-in's diagnostics give them) and what failed.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::cli {

// `text` for a message line: control characters (C0, DEL, C1) as \xHH,
// and cut after kEchoedCharacters characters with "..." added.
inline constexpr size_t kEchoedCharacters = 80;
std::string EchoText(std::string_view text);

// Writes "tarnwick: [FILE [LINE]  ]TEXT: REASON" to standard error, the
// location while a batch file runs.
void RefuseName(std::string_view text, std::string_view reason);

}  // namespace tarnwick::cli
