// The plug-in's only contact with the operating system. Everything behind
// the firmware fetch depends on the bytes and their size alone.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick::platform {

// The firmware-table service's contract: with no buffer and size 0 it returns
// the bytes the table needs (0: no table); with a buffer it fills it and
// returns the bytes it holds (0: failure).
#if defined(_WIN32) && !defined(_WIN64)
#define TARNWICK_SYSTEM_CALL __stdcall
#else
#define TARNWICK_SYSTEM_CALL
#endif
using FirmwareTableFetch = uint32_t(TARNWICK_SYSTEM_CALL*)(uint32_t provider, uint32_t table_id, void* buffer,
                                        uint32_t buffer_size);

// Provider signature 'RSMB' of the raw SMBIOS table, table id 0.
inline constexpr uint32_t kRawSmbiosProvider = 0x52534D42;

#if defined(_WIN32)
// The machine's service, or null where the system has none.
FirmwareTableFetch LocateFirmwareService();
#else
// Where Linux exports the SMBIOS entry point and structure table as the
// files smbios_entry_point and DMI; the plug-in serves them with the
// service's contract (plugin/firmware_service.h).
inline constexpr const char* kDmiTablesDirectory = "/sys/firmware/dmi/tables";

// Reads at most `size` bytes of the file `name` in `directory` into `out`:
// the count read, -1 when it cannot be opened.
long ReadFilePrefix(const char* directory, const char* name, uint8_t* out, size_t size);

// The size in bytes of the file `name` in `directory`, counted by reading
// for pseudo files that report none; -1 when it cannot be opened.
long long FileSize(const char* directory, const char* name);
#endif

// The handle Qprintf receives for standard error, fetched anew per write.
void* StandardErrorHandle();

struct UtcTime {
  uint32_t month;  // 1-12
  uint32_t day;    // 1-31
  uint32_t hour;
  uint32_t minute;
  uint32_t second;
  uint32_t milliseconds;
};
UtcTime CurrentUtcTime();

// Shows text with a caption and a single OK button and waits for it to close
// (Windows: a message box; elsewhere: the text on standard output).
void ShowMessage(const char16_t* text, const char16_t* caption);

}  // namespace tarnwick::platform
