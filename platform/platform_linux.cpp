// Linux: the kernel exports the SMBIOS entry point and structure table under
// /sys/firmware/dmi/tables. They are turned into the layout the Windows
// firmware-table service returns, so the loader sees one format everywhere.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <chrono>
#include <string>

#include "platform/platform.h"
#include "platform/utf8.h"

namespace tarnwick::platform {
namespace {

constexpr const char* kDmiTablesDirectory = "/sys/firmware/dmi/tables";

struct Path {
  char text[512];
};

Path InDirectory(const char* directory, const char* name) {
  Path path{};
  std::snprintf(path.text, sizeof path.text, "%s/%s", directory, name);
  return path;
}

struct Version {
  uint8_t major;
  uint8_t minor;
  uint8_t revision;
};

// Reads at most `size` bytes of `path`; -1 when it cannot be opened.
long ReadFilePrefix(const char* path, uint8_t* out, size_t size) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  size_t total = 0;
  while (total < size) {
    ssize_t got = read(fd, out + total, size - total);
    if (got <= 0) break;
    total += static_cast<size_t>(got);
  }
  close(fd);
  return static_cast<long>(total);
}

// The version an entry point announces (DSP0134 5.2.1 for "_SM_", 5.2.2 for
// "_SM3_"; the legacy "_DMI_" anchor carries it as BCD at 0Eh).
bool ReadEntryPointVersion(const char* directory, Version* version) {
  uint8_t entry[32] = {};
  long length = ReadFilePrefix(InDirectory(directory, "smbios_entry_point").text, entry, sizeof entry);
  if (length >= 24 && std::memcmp(entry, "_SM3_", 5) == 0) {
    *version = {entry[7], entry[8], entry[9]};
    return true;
  }
  if (length >= 31 && std::memcmp(entry, "_SM_", 4) == 0) {
    *version = {entry[6], entry[7], entry[0x1E]};
    return true;
  }
  if (length >= 15 && std::memcmp(entry, "_DMI_", 5) == 0) {
    *version = {static_cast<uint8_t>(entry[0x0E] >> 4), static_cast<uint8_t>(entry[0x0E] & 0x0F),
                entry[0x0E]};
    return true;
  }
  return false;
}

// The structure table's size in bytes, or -1.
long long TableFileSize(const char* directory) {
  int fd = open(InDirectory(directory, "DMI").text, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  long long size = fstat(fd, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
  if (size == 0) {  // some pseudo files report no size: count the bytes
    uint8_t scratch[4096];
    ssize_t got;
    while ((got = read(fd, scratch, sizeof scratch)) > 0) size += got;
  }
  close(fd);
  return size;
}

uint32_t TARNWICK_SYSTEM_CALL FetchFromSysfs(uint32_t provider, uint32_t table_id, void* buffer,
                                             uint32_t buffer_size) {
  if (provider != kRawSmbiosProvider || table_id != 0) return 0;
  return ReadDmiTables(kDmiTablesDirectory, buffer, buffer_size);
}

}  // namespace

uint32_t ReadDmiTables(const char* directory, void* buffer, uint32_t buffer_size) {
  Version version{};
  if (!ReadEntryPointVersion(directory, &version)) return 0;
  long long table_size = TableFileSize(directory);
  if (table_size <= 0 || table_size > 0xFFFFFFFFll - 8) return 0;
  const uint32_t needed = static_cast<uint32_t>(table_size) + 8;
  if (buffer == nullptr || buffer_size < needed) return needed;

  auto* out = static_cast<uint8_t*>(buffer);
  const uint32_t length = needed - 8;
  const uint8_t header[8] = {0,
                             version.major,
                             version.minor,
                             version.revision,
                             static_cast<uint8_t>(length),
                             static_cast<uint8_t>(length >> 8),
                             static_cast<uint8_t>(length >> 16),
                             static_cast<uint8_t>(length >> 24)};
  std::memcpy(out, header, sizeof header);
  long got = ReadFilePrefix(InDirectory(directory, "DMI").text, out + 8, length);
  return got == static_cast<long>(length) ? needed : 0;
}

FirmwareTableFetch LocateFirmwareService() { return &FetchFromSysfs; }

void* StandardErrorHandle() { return reinterpret_cast<void*>(static_cast<intptr_t>(STDERR_FILENO)); }

// The standard calendar rather than gmtime_r: glibc's gmtime_r reads
// /etc/localtime on its first call, seven system calls at every start.
UtcTime CurrentUtcTime() {
  using namespace std::chrono;
  const auto now = floor<milliseconds>(system_clock::now());
  const auto today = floor<days>(now);
  const year_month_day date{today};
  const hh_mm_ss time{now - today};
  return {static_cast<unsigned>(date.month()),          static_cast<unsigned>(date.day()),
          static_cast<uint32_t>(time.hours().count()),   static_cast<uint32_t>(time.minutes().count()),
          static_cast<uint32_t>(time.seconds().count()), static_cast<uint32_t>(time.subseconds().count())};
}

// Without a desktop the help text goes to standard output; the caption is
// the message box's title bar and has no place there.
void ShowMessage(const char16_t* text, const char16_t* /*caption*/) {
  std::fflush(stdout);
  EncodeUtf8(text, std::char_traits<char16_t>::length(text),
             [](const char* bytes, size_t count) { std::fwrite(bytes, 1, count, stdout); });
  std::fflush(stdout);
}

}  // namespace tarnwick::platform
