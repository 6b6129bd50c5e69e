// A batch file's bytes as tarnwick reads them, in whatever encoding they
// come. Properties: every NAME is well-formed UTF-8 on one line, trimmed,
// neither empty nor a comment, line numbers rise, and the text grows at
// most threefold; a text in UTF-8 reads the same with a byte order mark and
// as UTF-16LE or UTF-16BE with one.
#include <utf8cpp/utf8.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/input/batch_file.h"
#include "fuzz/fuzz_require.h"

using namespace tarnwick;

namespace {

using Lines = std::vector<std::pair<uint32_t, std::string>>;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

Lines Read(std::string_view bytes) {
  Lines lines;
  size_t total = 0;
  cli::ForEachBatchLine(bytes, [&](const cli::BatchLine& line) {
    const std::string& text = line.text;
    FUZZ_REQUIRE(lines.empty() || line.number > lines.back().first);
    FUZZ_REQUIRE(!text.empty() && text.front() != '#' && !IsBlank(text.front()) && !IsBlank(text.back()));
    FUZZ_REQUIRE(text.find('\n') == std::string::npos);
    FUZZ_REQUIRE(utf8::is_valid(text.begin(), text.end()));
    total += text.size();
    lines.emplace_back(line.number, text);
  });
  // At most threefold: a malformed byte, or a lone last byte of UTF-16, becomes U+FFFD.
  FUZZ_REQUIRE(total <= 3 * bytes.size());
  return lines;
}

std::string Utf16(const std::u16string& text, bool little_endian) {
  std::string bytes = little_endian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += little_endian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Lines lines = Read(bytes);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF" || !utf8::is_valid(bytes.begin(), bytes.end())) return 0;
  std::u16string text;
  utf8::utf8to16(bytes.begin(), bytes.end(), std::back_inserter(text));
  FUZZ_REQUIRE(Read("\xEF\xBB\xBF" + std::string(bytes)) == lines);
  FUZZ_REQUIRE(Read(Utf16(text, true)) == lines);
  FUZZ_REQUIRE(Read(Utf16(text, false)) == lines);
  return 0;
}
