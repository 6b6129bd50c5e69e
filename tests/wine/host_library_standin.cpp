// A stand-in for the host's library, for running the plug-in under Wine: the
// three services it imports, as the host defines them, and one more export
// through which the stand-in host fills the variable table.
#include <windows.h>

#include <cstdarg>
#include <string>

#include "host/host_interface.h"
#include "tests/wine/host_variables.h"
#include "tests/wine/host_library_standin.h"
#include "tests/wine/text_output.h"

namespace {

using namespace tarnwick;

// The host is built with Microsoft's runtime, whose wide formats read "%s" as
// a wide text. In C++ mingw's own swprintf family reads it as a narrow one,
// so the runtime's formatter is looked up by name rather than declared.
using WideFormatter = int(__cdecl*)(wchar_t* out, size_t count, const wchar_t* format, va_list arguments);

WideFormatter RuntimeFormatter() {
  static const WideFormatter formatter = [] {
    HMODULE runtime = LoadLibraryW(L"msvcrt.dll");
    FARPROC found = runtime == nullptr ? nullptr : GetProcAddress(runtime, "_vsnwprintf");
    return reinterpret_cast<WideFormatter>(reinterpret_cast<void*>(found));
  }();
  return formatter;
}

// Room for the longest diagnostic: a quoted argument of up to 8191 units.
constexpr size_t kFormatRoom = 4 * kMaxArgLen;
wchar_t g_formatted[kFormatRoom + 1];

int FormatTo(HANDLE handle, const char16_t* format, va_list arguments) {
  if (format == nullptr) return -1;
  WideFormatter formatter = RuntimeFormatter();
  if (formatter == nullptr) {
    wine::WriteError(u"stand-in: msvcrt _vsnwprintf not found\r\n");
    return -1;
  }
  int count = formatter(g_formatted, kFormatRoom, reinterpret_cast<const wchar_t*>(format), arguments);
  if (count < 0) {
    wine::WriteError(u"stand-in: formatted text longer than the host's room\r\n");
    return -1;
  }
  wine::WriteText(handle, std::u16string_view(reinterpret_cast<const char16_t*>(g_formatted), count));
  return count;
}

}  // namespace

extern "C" int Printf(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int count = FormatTo(GetStdHandle(STD_OUTPUT_HANDLE), format, arguments);
  va_end(arguments);
  return count;
}

extern "C" int Qprintf(void* handle, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int count = FormatTo(static_cast<HANDLE>(handle), format, arguments);
  va_end(arguments);
  return count;
}

// The plug-in's buffers are 1024 or 8192 units; the expansion is bounded by
// the smaller, and a text that does not fit is reported, not cut silently.
extern "C" int ExpandVariables(char16_t* text, int flag) {
  constexpr size_t kSmallerBuffer = 1024;
  if (text == nullptr) return -1;
  if (flag != 1) wine::WriteError(u"stand-in: ExpandVariables called without flag 1\r\n");
  const std::u16string expanded = wine::Expand(text);
  if (expanded.size() >= kSmallerBuffer) {
    wine::WriteError(u"stand-in: expansion longer than 1023 units\r\n");
    return -1;
  }
  expanded.copy(text, expanded.size());
  text[expanded.size()] = 0;
  return 0;
}

extern "C" void SetHostVariable(const char16_t* name, const char16_t* value) {
  if (name != nullptr) wine::SetVariable(name, value == nullptr ? u"" : value);
}
