// Windows: arguments come from the wide command line; a console is written
// in UTF-16 with WriteConsoleW, a pipe or a file in UTF-8 with WriteFile.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "cli/system.h"
#include "cli/utf8_decode.h"

namespace tarnwick::cli {
namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

bool IsPipe(DWORD which) { return GetFileType(GetStdHandle(which)) == FILE_TYPE_PIPE; }

bool WriteAll(HANDLE handle, const void* data, size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size != 0) {
    DWORD wrote = 0;
    const DWORD piece = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    if (!WriteFile(handle, at, piece, &wrote, nullptr) || wrote == 0) return false;
    at += wrote;
    size -= wrote;
  }
  return true;
}

bool ReadHandle(HANDLE handle, std::vector<uint8_t>* bytes) {
  uint8_t chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handle, chunk, sizeof chunk, &got, nullptr)) return GetLastError() == ERROR_BROKEN_PIPE;
    if (got == 0) return true;
    bytes->insert(bytes->end(), chunk, chunk + got);
  }
}

}  // namespace

std::vector<std::u16string> CommandLineArguments(int /*argc*/, char** /*argv*/) {
  std::vector<std::u16string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(reinterpret_cast<const char16_t*>(wide[i]));
  LocalFree(wide);
  return arguments;
}

void* StreamHandle(Stream stream) {
  return GetStdHandle(stream == Stream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

void WriteText(void* handle, const char16_t* text, size_t length) {
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    while (length != 0) {
      DWORD wrote = 0;
      const DWORD piece = length > 8192 ? 8192 : static_cast<DWORD>(length);
      if (!WriteConsoleW(handle, text, piece, &wrote, nullptr) || wrote == 0) return;
      text += wrote;
      length -= wrote;
    }
    return;
  }
  const std::string bytes = EncodeUtf8(std::u16string_view(text, length));
  WriteAll(handle, bytes.data(), bytes.size());
}

bool RunsInPipe() { return IsPipe(STD_INPUT_HANDLE) || IsPipe(STD_OUTPUT_HANDLE); }

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  if (path == u"-") return ReadHandle(GetStdHandle(STD_INPUT_HANDLE), bytes);
  HANDLE file =
      CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool read_all = ReadHandle(file, bytes);
  CloseHandle(file);
  return read_all;
}

bool WriteWholeFile(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool wrote_all = WriteAll(file, bytes.data(), bytes.size());
  return CloseHandle(file) && wrote_all;
}

std::u16string FullPathName(const std::u16string& path) {
  wchar_t full[32768];
  const DWORD length = GetFullPathNameW(Wide(path), 32768, full, nullptr);
  if (length == 0 || length >= 32768) return path;
  return std::u16string(reinterpret_cast<const char16_t*>(full), length);
}

bool EnvironmentValue(const std::u16string& name, std::u16string* value) {
  wchar_t text[32768];
  SetLastError(0);
  const DWORD length = GetEnvironmentVariableW(Wide(name), text, 32768);
  if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
  if (length >= 32768) return false;
  value->assign(reinterpret_cast<const char16_t*>(text), length);
  return true;
}

}  // namespace tarnwick::cli
