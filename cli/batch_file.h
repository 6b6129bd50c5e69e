// Running a file of NAMEs the way the shell runs a batch file: the plug-in
// learns the file and line from _batch, _batchname and _batchline.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::cli {

// The NAMEs of a batch file's text, each with its line number (from 1).
// Lines are split at LF with a CR before it dropped, white space around a
// NAME is dropped, and empty lines and lines starting with "#" are skipped.
// A UTF-8 byte order mark at the start is ignored.
struct BatchLine {
  uint32_t number;
  std::string text;
};
std::vector<BatchLine> BatchLines(std::string_view bytes);

}  // namespace tarnwick::cli
