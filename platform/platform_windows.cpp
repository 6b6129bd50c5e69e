// Windows: the firmware-table service, the console handles, the clock and
// the message box.
#include <windows.h>

#include "platform/platform.h"

namespace tarnwick::platform {

// Located at run time rather than bound at link time, so that the library
// still loads on a system without the service and can say so.
FirmwareTableFetch LocateFirmwareService() {
  HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
  if (kernel == nullptr) return nullptr;
  FARPROC service = GetProcAddress(kernel, "GetSystemFirmwareTable");
  return reinterpret_cast<FirmwareTableFetch>(reinterpret_cast<void*>(service));
}

void* StandardOutputHandle() { return GetStdHandle(STD_OUTPUT_HANDLE); }
void* StandardErrorHandle() { return GetStdHandle(STD_ERROR_HANDLE); }

UtcTime CurrentUtcTime() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  return {now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void ShowMessage(const char16_t* text, const char16_t* caption) {
  MessageBoxW(GetForegroundWindow(), reinterpret_cast<const wchar_t*>(text),
              reinterpret_cast<const wchar_t*>(caption), MB_OK);
}

}  // namespace tarnwick::platform
