#include "tests/wine/firmware_standin.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/wine/import_redirect.h"

namespace tarnwick::wine {
namespace {

enum class Service { kMissing, kEmpty, kFailing, kFile };

constexpr DWORD kRawSmbios = 0x52534D42;  // 'RSMB'
constexpr UINT kFailingSize = 64;

Service g_service = Service::kFile;
std::vector<BYTE> g_table;

// The service's contract: with no buffer, or one too small, the size the
// table needs; otherwise the table, and the bytes written.
UINT WINAPI StandInService(DWORD provider, DWORD table_id, PVOID buffer, DWORD size) {
  if (provider != kRawSmbios || table_id != 0 || g_service == Service::kEmpty) return 0;
  if (g_service == Service::kFailing) return buffer == nullptr ? kFailingSize : 0;
  const auto needed = static_cast<UINT>(g_table.size());
  if (buffer == nullptr || size < needed) return needed;
  std::memcpy(buffer, g_table.data(), needed);
  return needed;
}

FARPROC WINAPI StandInGetProcAddress(HMODULE module, LPCSTR name) {
  const bool by_name = reinterpret_cast<uintptr_t>(name) > 0xFFFF;
  if (by_name && std::strcmp(name, "GetSystemFirmwareTable") == 0) {
    if (g_service == Service::kMissing) return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&StandInService));
  }
  return GetProcAddress(module, name);
}

bool ReadTable(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x1000000;
  if (ok) {
    g_table.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = ReadFile(file, g_table.data(), static_cast<DWORD>(g_table.size()), &read, nullptr) && read == g_table.size();
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

bool ServeFirmware(HMODULE plugin, const wchar_t* how) {
  const std::wstring_view mode = how;
  if (mode == L"missing") {
    g_service = Service::kMissing;
  } else if (mode == L"empty") {
    g_service = Service::kEmpty;
  } else if (mode == L"failing") {
    g_service = Service::kFailing;
  } else {
    g_service = Service::kFile;
    if (!ReadTable(how)) return false;
  }
  return RedirectImport(plugin, "KERNEL32.dll", "GetProcAddress", reinterpret_cast<void*>(&StandInGetProcAddress));
}

}  // namespace tarnwick::wine
