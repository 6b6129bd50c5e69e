// The three services that the shell lends the plug-in, and its variables.
// The plug-in's side of them is UTF-16; they convert at this edge.
#include <algorithm>
#include <cstdarg>
#include <string>
#include <utility>
#include <vector>

#include "cli/names/host_printf.h"
#include "cli/names/host_state.h"
#include "cli/output/output.h"
#include "cli/names/utf8_utf16.h"
#include "cli/names/variable_expansion.h"
#include "host/characters.h"
#include "host/host_interface.h"
#include "platform/system.h"

namespace tarnwick::cli {
namespace {

using std::literals::operator""sv;

// The plug-in's buffers hold 1024 or 8192 units; it does not say which, so
// no expansion writes past the smaller.
constexpr size_t kExpansionCapacity = 1024;

// The environment variable `name`, its letters compared without case, as
// the shell matches variables; one whose name is exactly `name` comes first.
bool EnvironmentValue(std::string_view name, std::string* value) {
  const std::vector<std::pair<std::string, std::string>> variables = platform::EnvironmentVariables();
  const auto named = [&](bool exactly) {
    return std::find_if(variables.begin(), variables.end(), [&](const std::pair<std::string, std::string>& v) {
      return exactly ? v.first == name : SameIgnoringAsciiCase(std::string_view(v.first), name);
    });
  };
  const auto exact = named(true);
  const auto found = exact != variables.end() ? exact : named(false);
  if (found == variables.end()) return false;
  *value = found->second;
  return true;
}

// A flag's digit; assigned as a character, since g++ 12 at -O3 warns
// falsely (-Wrestrict) about assigning a one-letter literal.
void SetFlag(std::string* value, bool flag) { value->assign(1, flag ? '1' : '0'); }

}  // namespace

bool LookupHostVariable(std::string_view name, std::string* value) {
  const HostState& host = Host();
  if (SameIgnoringAsciiCase(name, "_transient"sv)) {
    SetFlag(value, host.transient);
  } else if (SameIgnoringAsciiCase(name, "_pipe"sv)) {
    SetFlag(value, host.in_pipe);
  } else if (SameIgnoringAsciiCase(name, "_batch"sv)) {  // the nesting level; batch files do not nest here
    SetFlag(value, host.in_batch);
  } else if (SameIgnoringAsciiCase(name, "_batchname"sv)) {
    *value = host.in_batch ? host.batch_name : "";
  } else if (SameIgnoringAsciiCase(name, "_batchline"sv)) {
    // Outside a batch file the shell answers -1.
    *value = host.in_batch ? std::to_string(host.batch_line) : "-1";
  } else {
    return EnvironmentValue(name, value);
  }
  return true;
}

}  // namespace tarnwick::cli

using namespace tarnwick::cli;

extern "C" int Printf(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = FormatHostPrintf(format, arguments);
  va_end(arguments);
  Out(EncodeUtf8(text));
  return static_cast<int>(text.size());
}

extern "C" int Qprintf(void* handle, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = FormatHostPrintf(format, arguments);
  va_end(arguments);
  WriteToHandle(handle, EncodeUtf8(text));
  return static_cast<int>(text.size());
}

extern "C" int ExpandVariables(char16_t* text, int /*flag*/) {
  if (text == nullptr) return -1;
  size_t length = 0;
  while (length < tarnwick::kMaxArgLen && text[length] != 0) ++length;
  const std::u16string expanded =
      DecodeUtf8(ExpandReferences(EncodeUtf8(std::u16string_view(text, length)), &LookupHostVariable));
  const size_t kept = expanded.size() < kExpansionCapacity ? expanded.size() : kExpansionCapacity - 1;
  expanded.copy(text, kept);
  text[kept] = 0;
  return 0;
}
