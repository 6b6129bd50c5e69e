#include "tests/support/recording_host.h"

#include <cstdarg>
#include <cstdint>

#include "cli/names/host_printf.h"
#include "platform/platform.h"
#include "host/host_interface.h"

namespace tarnwick::testing {

RecordedOutput& Recorded() {
  static RecordedOutput output;
  return output;
}

void ClearRecorded() { Recorded() = RecordedOutput{}; }

std::map<std::u16string, std::u16string>& HostVariables() {
  static std::map<std::u16string, std::u16string> variables;
  return variables;
}

void ResetHostVariables() {
  HostVariables() = {{u"_transient", u"0"}, {u"_pipe", u"0"}, {u"_batch", u"0"}};
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += "\\u{" + std::to_string(static_cast<unsigned>(c)) + "}";
    }
  }
  return out;
}

namespace {

bool IsNameCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

std::u16string Lookup(const std::u16string& name) {
  auto found = HostVariables().find(name);
  return found == HostVariables().end() ? u"" : found->second;
}

}  // namespace
}  // namespace tarnwick::testing

using namespace tarnwick::testing;

extern "C" int Printf(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::u16string text = tarnwick::cli::FormatHostPrintf(format, arguments);
  va_end(arguments);
  Recorded().console += text;
  return static_cast<int>(text.size());
}

extern "C" int Qprintf(void* handle, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::u16string text = tarnwick::cli::FormatHostPrintf(format, arguments);
  va_end(arguments);
  (handle == tarnwick::platform::StandardErrorHandle() ? Recorded().standard_error : Recorded().other_handles) +=
      text;
  return static_cast<int>(text.size());
}

extern "C" int ExpandVariables(char16_t* text, int flag) {
  if (flag != 1) return -1;  // the one call the shell documents: the plug-in's text is left as it was
  ++Recorded().expansions;
  std::u16string in(text);
  std::u16string out;
  for (size_t i = 0; i < in.size();) {
    if (in[i] != u'%') {
      out += in[i++];
      continue;
    }
    size_t start = i + 1;
    if (start < in.size() && in[start] == u'[') {
      size_t close = in.find(u']', start);
      if (close == std::u16string::npos) close = in.size();
      out += Lookup(in.substr(start + 1, close - start - 1));
      i = close + 1;
    } else {
      size_t end = start;
      while (end < in.size() && IsNameCharacter(in[end])) ++end;
      out += Lookup(in.substr(start, end - start));
      i = end;
    }
  }
  size_t n = 0;
  for (; n < out.size() && n + 1 < 1024; ++n) text[n] = out[n];
  text[n] = 0;
  return 0;
}
