// A NAME as tarnwick evaluates it (nested calls, brackets, quotes), against a
// table whose strings come from the input too: NAME, then up to eight
// strings, separated by NUL bytes. The strings stand in a system (type 1)
// and a baseboard (type 2) structure, so that inner calls return them.
// Properties: no text of the table is ever evaluated (every call the
// plug-in receives opens with a "[" of the NAME, or is the NAME itself),
// and what comes out, result or message, stays within a bound.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "cli/names/name_call.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/quiet_host.h"
#include "fuzz/quiet_output.h"
#include "plugin/lifecycle.h"
#include "host/exports.h"
#include "tests/support/table_builder.h"

using namespace tarnwick;

namespace {

constexpr size_t kMostStrings = 8;
// "tarnwick: ", an echo of 80 characters of at most 4 bytes twice (the
// text and the part named), and the reason's own words.
constexpr size_t kLongestMessage = 10 + 2 * (80 * 4 + 3) + 200;

testing::Bytes Table(const std::vector<std::string>& strings) {
  testing::Bytes formatted(strings.size());
  for (size_t i = 0; i < strings.size(); ++i) formatted[i] = static_cast<uint8_t>(i + 1);
  return testing::RawTable(testing::BareTable({{1, 0, formatted, strings},
                                               {2, 1, formatted, strings},
                                               {127, 2, {}, {}}}),
                           3, 4);
}

// The calls the NAME itself begins: "@", a name, "[" (one more for the NAME).
size_t CallsBegun(std::string_view name) {
  size_t begun = 1;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '@') continue;
    size_t end = i + 1;
    while (end < name.size() && (std::isalnum(static_cast<unsigned char>(name[end])) || name[end] == '_')) ++end;
    if (end > i + 1 && end < name.size() && name[end] == '[') ++begun;
  }
  return begun;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t end = std::min(input.find('\0'), input.size());
  const std::string_view name = input.substr(0, end);
  std::vector<std::string> strings;
  for (size_t at = end + 1; at < input.size() && strings.size() < kMostStrings;) {
    const size_t next = std::min(input.find('\0', at), input.size());
    if (next > at) strings.emplace_back(input.substr(at, next - at));  // an SMBIOS string is never empty
    at = next + 1;
  }
  static testing::Bytes table;  // outlives the plug-in's use
  table = Table(strings);
  if (InitializeWithTable(table.data(), static_cast<uint32_t>(table.size())) != 0) return 0;

  const size_t begun = CallsBegun(name);
  size_t calls = 0;
  fuzzing::LongestMessage() = 0;
  fuzzing::Forget();
  const cli::CallResult result = cli::CallName(name, [&](const ExportEntry& row, char16_t* buffer) {
    ++calls;
    return row.entry(buffer);
  });
  FUZZ_REQUIRE(calls <= begun);
  FUZZ_REQUIRE(result.ok || result.value.empty());
  FUZZ_REQUIRE(result.value.size() <= 3 * (kMaxArgLen - 1));
  FUZZ_REQUIRE(fuzzing::LongestMessage() <= kLongestMessage);
  ShutdownPlugin(0);
  return 0;
}
