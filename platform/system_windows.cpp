// Windows: arguments come from the wide command line; a console is written
// in UTF-16 with WriteConsoleW, a pipe or a file in UTF-8 with WriteFile.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "platform/system.h"
#include "platform/utf8.h"

namespace tarnwick::platform {
namespace {

std::wstring Wide(std::string_view text) {
  const std::u16string wide = DecodeUtf8(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(const wchar_t* text, size_t length) {
  return EncodeUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

bool IsPipe(DWORD which) { return GetFileType(GetStdHandle(which)) == FILE_TYPE_PIPE; }

bool WriteAll(HANDLE handle, const void* data, size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size != 0) {
    DWORD wrote = 0;
    const DWORD piece = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    if (!WriteFile(handle, at, piece, &wrote, nullptr)) return false;
    if (wrote == 0) return SetLastError(ERROR_WRITE_FAULT), false;  // no progress and no reason
    at += wrote;
    size -= wrote;
  }
  return true;
}

std::string Reason(DWORD code) {
  wchar_t text[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                512, nullptr);
  while (length != 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L'.')) --length;
  return length == 0 ? "system error " + std::to_string(code) : Narrow(text, length);
}

}  // namespace

std::vector<std::string> CommandLineArguments(int /*argc*/, char** /*argv*/) {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(wide[i], wcslen(wide[i])));
  LocalFree(wide);
  return arguments;
}

void PrepareStandardStreams() {}

WriteOutcome WriteText(void* handle, std::string_view text, std::string* reason) {
  DWORD mode = 0;
  bool wrote = true;
  if (!GetConsoleMode(handle, &mode)) {
    wrote = WriteAll(handle, text.data(), text.size());
  } else {
    const std::u16string wide = DecodeUtf8(text);
    const char16_t* at = wide.data();
    size_t length = wide.size();
    while (wrote && length != 0) {
      DWORD done = 0;
      const DWORD piece = length > 8192 ? 8192 : static_cast<DWORD>(length);
      wrote = WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(at), piece, &done, nullptr) && done != 0;
      at += done;
      length -= done;
    }
  }
  if (wrote) return WriteOutcome::kWritten;
  const DWORD code = GetLastError();
  // The pipe's reader has closed its end, or is closing it (Wine reports a
  // closed Unix pipe as not connected).
  if (code == ERROR_NO_DATA || code == ERROR_BROKEN_PIPE || code == ERROR_PIPE_NOT_CONNECTED) {
    return WriteOutcome::kReaderGone;
  }
  *reason = Reason(code);
  return WriteOutcome::kFailed;
}

bool RunsInPipe() { return IsPipe(STD_INPUT_HANDLE) || IsPipe(STD_OUTPUT_HANDLE); }

bool RunsAsRoot() { return true; }

// Only tarnwick reads files on Windows: the plug-in's reader lives here.
FileReader::~FileReader() {
  if (owned_) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool FileReader::Open(const std::string& path, std::string* reason) {
  HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  if (path != "-") {
    handle = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);  // opens a directory too, to say what it is
    if (handle == INVALID_HANDLE_VALUE) return *reason = Reason(GetLastError()), false;
    owned_ = true;
  }
  handle_ = reinterpret_cast<intptr_t>(handle);
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info)) {
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return *reason = "Is a directory", false;
    regular_ = true;
    size_at_open_ = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  }
  return true;
}

long FileReader::Read(uint8_t* out, size_t size, std::string* reason) {
  DWORD got = 0;
  const DWORD want = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
  if (ReadFile(reinterpret_cast<HANDLE>(handle_), out, want, &got, nullptr)) return static_cast<long>(got);
  const DWORD code = GetLastError();
  if (code == ERROR_BROKEN_PIPE) return 0;  // the writer closed its end
  *reason = Reason(code);
  return -1;
}

bool FileReader::Changed() const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!regular_) return false;
  if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(handle_), &info)) return true;
  return (static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow) != size_at_open_;
}

bool WriteNewFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  // CREATE_NEW refuses every existing name, a symbolic link or junction
  // included whether or not its target exists.
  const std::wstring wide = Wide(path);
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    *error = code == ERROR_FILE_EXISTS ? "exists; --dump-bin writes only a new file" : Reason(code);
    return false;
  }
  bool wrote = WriteAll(file, bytes.data(), bytes.size());
  std::string reason = wrote ? "" : Reason(GetLastError());
  if (!CloseHandle(file) && wrote) wrote = false, reason = Reason(GetLastError());
  if (wrote) return true;
  DeleteFileW(wide.c_str());  // no part-written dump stays behind
  *error = reason;
  return false;
}

bool ProbeMachineTable(const std::string& /*sysfs*/, std::string* tried, std::string* reason) {
  *tried = "the firmware-table service's SMBIOS table";
  const FirmwareTableFetch fetch = LocateFirmwareService();
  if (fetch == nullptr) return *reason = "GetSystemFirmwareTable is missing", false;
  SetLastError(0);
  if (fetch(kRawSmbiosProvider, 0, nullptr, 0) != 0) return true;
  *reason = GetLastError() == 0 ? "empty" : Reason(GetLastError());
  return false;
}

std::string FullPathName(const std::string& path) {
  wchar_t full[32768];
  const DWORD length = GetFullPathNameW(Wide(path).c_str(), 32768, full, nullptr);
  if (length == 0 || length >= 32768) return path;
  return Narrow(full, length);
}

std::vector<std::pair<std::string, std::string>> EnvironmentVariables() {
  std::vector<std::pair<std::string, std::string>> variables;
  wchar_t* block = GetEnvironmentStringsW();
  if (block == nullptr) return variables;
  for (const wchar_t* entry = block; *entry != 0; entry += std::wcslen(entry) + 1) {
    // The search starts after the first character: the drives' current
    // folders are kept as variables whose names begin with "=" ("=C:").
    const std::wstring_view text(entry);
    const size_t equals = text.find(L'=', 1);
    if (equals == std::wstring_view::npos) continue;
    variables.emplace_back(Narrow(entry, equals), Narrow(entry + equals + 1, text.size() - equals - 1));
  }
  FreeEnvironmentStringsW(block);
  return variables;
}

}  // namespace tarnwick::platform
