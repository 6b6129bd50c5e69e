#include "cli/input/batch_file.h"

#include <utf8cpp/utf8.h>

#include <algorithm>
#include <iterator>

#include "cli/names/utf8_utf16.h"

namespace tarnwick::cli {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

size_t MarkLength(BatchEncoding encoding, std::string_view bytes) {
  if (encoding == BatchEncoding::kUtf16Le || encoding == BatchEncoding::kUtf16Be) return 2;
  return encoding == BatchEncoding::kUtf8 && bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// The next line of `rest` in UTF-8, without its line end; `rest` moves past
// it. CR LF, LF and CR alone (old Mac editors, some exports) each end a line.
std::string NextLine(BatchEncoding encoding, std::string_view* rest) {
  if (encoding == BatchEncoding::kUtf16Le || encoding == BatchEncoding::kUtf16Be) {
    const int high = encoding == BatchEncoding::kUtf16Le ? 1 : 0;
    const auto unit_at = [&](size_t i) {
      return static_cast<char16_t>(static_cast<uint8_t>((*rest)[i + high]) << 8 |
                                   static_cast<uint8_t>((*rest)[i + 1 - high]));
    };
    std::u16string line;
    size_t i = 0;
    for (; i + 1 < rest->size(); i += 2) {
      const char16_t unit = unit_at(i);
      if (unit == u'\n' || unit == u'\r') break;
      line += unit;
    }
    if (i + 1 == rest->size()) line += u'\uFFFD';  // a last byte without its pair
    const bool cr_lf = i + 3 < rest->size() && unit_at(i) == u'\r' && unit_at(i + 2) == u'\n';
    rest->remove_prefix(std::min(i + (cr_lf ? 4 : 2), rest->size()));
    return EncodeUtf8(line);
  }
  const size_t end = std::min(rest->find_first_of("\r\n"), rest->size());
  const std::string_view line = rest->substr(0, end);
  const bool cr_lf = rest->substr(end, 2) == "\r\n";
  rest->remove_prefix(std::min(end + (cr_lf ? 2 : 1), rest->size()));
  // Malformed sequences after a UTF-8 mark become U+FFFD, as the plug-in would read them.
  if (encoding == BatchEncoding::kUtf8) {
    return utf8::is_valid(line.begin(), line.end()) ? std::string(line) : EncodeUtf8(DecodeUtf8(line));
  }
  std::string out;
  out.reserve(line.size());
  for (const char byte : line) utf8::append(static_cast<uint8_t>(byte), std::back_inserter(out));
  return out;
}

}  // namespace

BatchEncoding DetectBatchEncoding(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return BatchEncoding::kUtf8;
  if (bytes.substr(0, 2) == "\xFF\xFE") return BatchEncoding::kUtf16Le;
  if (bytes.substr(0, 2) == "\xFE\xFF") return BatchEncoding::kUtf16Be;
  return utf8::is_valid(bytes.begin(), bytes.end()) ? BatchEncoding::kUtf8 : BatchEncoding::kLatin1;
}

void ForEachBatchLine(std::string_view bytes, const std::function<void(const BatchLine&)>& each) {
  const BatchEncoding encoding = DetectBatchEncoding(bytes);
  bytes.remove_prefix(MarkLength(encoding, bytes));
  BatchLine line{0, {}};
  while (!bytes.empty()) {
    ++line.number;
    line.text = NextLine(encoding, &bytes);
    const auto first = std::find_if_not(line.text.begin(), line.text.end(), IsBlank);
    const auto last = std::find_if_not(line.text.rbegin(), line.text.rend(), IsBlank).base();
    if (first >= last || *first == '#') continue;
    line.text = std::string(first, last);
    each(line);
  }
}

}  // namespace tarnwick::cli
