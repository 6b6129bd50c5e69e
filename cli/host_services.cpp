// The three services that the shell lends the plug-in, and its variables.
#include <cstdarg>
#include <string>

#include "cli/host_format.h"
#include "cli/host_state.h"
#include "cli/output.h"
#include "cli/system.h"
#include "cli/text_quoting.h"
#include "cli/variable_expansion.h"
#include "host/host_interface.h"

namespace tarnwick::cli {
namespace {

bool SameName(std::u16string_view left, std::u16string_view right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    char16_t a = left[i], b = right[i];
    if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a + 0x20);
    if (b >= u'A' && b <= u'Z') b = static_cast<char16_t>(b + 0x20);
    if (a != b) return false;
  }
  return true;
}

// The plug-in's buffers hold 1024 or 8192 units; it does not say which, so
// no expansion writes past the smaller.
constexpr size_t kExpansionCapacity = 1024;

}  // namespace

HostState& Host() {
  static HostState state;
  return state;
}

bool LookupHostVariable(std::u16string_view name, std::u16string* value) {
  const HostState& host = Host();
  if (SameName(name, u"_transient")) {
    *value = host.transient ? u"1" : u"0";
  } else if (SameName(name, u"_pipe")) {
    *value = host.in_pipe ? u"1" : u"0";
  } else if (SameName(name, u"_batch")) {  // the nesting level; batch files do not nest here
    *value = host.in_batch ? u"1" : u"0";
  } else if (SameName(name, u"_batchname")) {
    *value = host.in_batch ? host.batch_name : u"";
  } else if (SameName(name, u"_batchline")) {
    // Outside a batch file the shell answers -1.
    *value = host.in_batch ? DecimalText(host.batch_line) : u"-1";
  } else {
    return EnvironmentValue(std::u16string(name), value);
  }
  return true;
}

}  // namespace tarnwick::cli

using namespace tarnwick::cli;

extern "C" int Printf(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = tarnwick::host::FormatHostText(format, arguments);
  va_end(arguments);
  Out(text);
  return static_cast<int>(text.size());
}

extern "C" int Qprintf(void* handle, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::u16string text = tarnwick::host::FormatHostText(format, arguments);
  va_end(arguments);
  WriteToHandle(handle, text);
  return static_cast<int>(text.size());
}

extern "C" int ExpandVariables(char16_t* text, int /*flag*/) {
  if (text == nullptr) return -1;
  size_t length = 0;
  while (length < tarnwick::kMaxArgLen && text[length] != 0) ++length;
  const std::u16string expanded = ExpandReferences(std::u16string_view(text, length), &LookupHostVariable);
  const size_t kept = expanded.size() < kExpansionCapacity ? expanded.size() : kExpansionCapacity - 1;
  expanded.copy(text, kept);
  text[kept] = 0;
  return 0;
}
