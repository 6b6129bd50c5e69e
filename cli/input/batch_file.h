// Running a file of NAMEs the way the shell runs a batch file: the plug-in
// learns the file and line from _batch, _batchname and _batchline.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarnwick::cli {

// How a batch file's bytes are read, told by its first bytes: a byte order
// mark (UTF-8, UTF-16LE, UTF-16BE); without one, UTF-8 when every byte
// sequence is well formed, else one byte one character (ISO 8859-1), the
// rule by which the plug-in reads the table's strings.
enum class BatchEncoding { kUtf8, kUtf16Le, kUtf16Be, kLatin1 };
BatchEncoding DetectBatchEncoding(std::string_view bytes);

// A NAME of a batch file in UTF-8, with its line number (from 1). Lines
// end at CR LF, LF or CR alone, white space around a NAME is
// dropped, and empty lines and lines starting with "#" are skipped.
struct BatchLine {
  uint32_t number;
  std::string text;
};

// Calls `each` for every NAME of the file's `bytes` in turn, decoding one
// line at a time: memory stays that of the longest line.
void ForEachBatchLine(std::string_view bytes, const std::function<void(const BatchLine&)>& each);

}  // namespace tarnwick::cli
