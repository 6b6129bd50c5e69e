// The only contact with the operating system: the plug-in's here, what the
// command line needs besides in platform/system.h. Everything behind the
// firmware fetch depends on the bytes and their size alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
#endif

// Where Linux mounts sysfs; tests lay out a folder in its place. Under it
// the kernel exports the SMBIOS entry point and structure table as the
// files smbios_entry_point and DMI (readable by root), which the plug-in
// serves with the service's contract (plugin/firmware_service.h), and the
// DMI identity files that every user may read.
inline constexpr const char* kSysfs = "/sys";
inline std::string DmiTablesFolder(const std::string& sysfs) { return sysfs + "/firmware/dmi/tables"; }
inline std::string DmiIdFolder(const std::string& sysfs) { return sysfs + "/class/dmi/id"; }

// The one way files are read, by the plug-in and by tarnwick alike: a
// file, or standard input for "-", read in pieces.
class FileReader {
 public:
  FileReader() = default;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader();

  // False, with the system's reason, when it cannot be opened or is a directory.
  bool Open(const std::string& path, std::string* reason);
  // Reads at most `size` bytes into `out`: the count, 0 at the end, -1
  // with the system's reason when the read fails.
  long Read(uint8_t* out, size_t size, std::string* reason);
  // The size the system gave at Open: 0 for what gives none.
  uint64_t SizeAtOpen() const { return size_at_open_; }
  bool Regular() const { return regular_; }
  // True when a regular file's size now differs from its size at Open: the
  // bytes read may be a mix of two versions or cut short.
  bool Changed() const;

 private:
  intptr_t handle_ = -1;
  bool owned_ = false;
  bool regular_ = false;
  uint64_t size_at_open_ = 0;
};

#if !defined(_WIN32)
// Reads at most `size` bytes of the file `name` in `directory` into `out`:
// the count read, -1 when it cannot be opened.
long ReadFilePrefix(const std::string& directory, const char* name, uint8_t* out, size_t size);

// The size in bytes of the file `name` in `directory`, counted by reading
// for pseudo files that report none, up to one byte past `cap`; -1 when it
// cannot be opened.
long long FileSize(const std::string& directory, const char* name, long long cap);
#endif

// The handles Qprintf receives for standard output and standard error.
void* StandardOutputHandle();
// Fetched anew per write.
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
