#include "tests/wine/text_output.h"

#include "platform/utf8.h"

namespace tarnwick::wine {

void WriteText(HANDLE handle, std::u16string_view text) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    DWORD written = 0;
    WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.data()), static_cast<DWORD>(text.size()),
                  &written, nullptr);
    return;
  }
  platform::EncodeUtf8(text.data(), text.size(), [handle](const char* bytes, size_t count) {
    DWORD written = 0;
    WriteFile(handle, bytes, static_cast<DWORD>(count), &written, nullptr);
  });
}

void WriteOut(std::u16string_view text) { WriteText(GetStdHandle(STD_OUTPUT_HANDLE), text); }

void WriteError(std::u16string_view text) { WriteText(GetStdHandle(STD_ERROR_HANDLE), text); }

}  // namespace tarnwick::wine
