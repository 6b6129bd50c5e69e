// Linux: the kernel exports the SMBIOS entry point and structure table under
// /sys/firmware/dmi/tables. They are turned into the layout the Windows
// firmware-table service returns, so the loader sees one format everywhere.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/firmware_seam.h"
#include "platform/platform.h"
#include "platform/utf8.h"

namespace tarnwick::platform {
namespace {

constexpr const char* kDmiTablesDirectory = "/sys/firmware/dmi/tables";
const char* g_directory = kDmiTablesDirectory;

struct Path {
  char text[512];
};

Path InDirectory(const char* name) {
  Path path{};
  std::snprintf(path.text, sizeof path.text, "%s/%s", g_directory, name);
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
bool ReadEntryPointVersion(Version* version) {
  uint8_t entry[32] = {};
  long length = ReadFilePrefix(InDirectory("smbios_entry_point").text, entry, sizeof entry);
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
long long TableFileSize() {
  int fd = open(InDirectory("DMI").text, O_RDONLY | O_CLOEXEC);
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
  Version version{};
  if (!ReadEntryPointVersion(&version)) return 0;
  long long table_size = TableFileSize();
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
  long got = ReadFilePrefix(InDirectory("DMI").text, out + 8, length);
  return got == static_cast<long>(length) ? needed : 0;
}

}  // namespace

FirmwareTableFetch LocateSystemFirmwareService() { return &FetchFromSysfs; }

void SetDmiTablesDirectory(const char* directory) {
  g_directory = directory != nullptr ? directory : kDmiTablesDirectory;
}

void* StandardErrorHandle() { return reinterpret_cast<void*>(static_cast<intptr_t>(STDERR_FILENO)); }

// Month and day from days since 1970-01-01 in the proleptic Gregorian
// calendar, without the C library's time-zone machinery (which reads
// /etc/localtime on first use, a cost paid at every load).
void CivilDate(int64_t days, uint32_t* month, uint32_t* day) {
  days += 719468;  // from 0000-03-01
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t month_from_march = (5 * day_of_year + 2) / 153;
  *day = static_cast<uint32_t>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  *month = static_cast<uint32_t>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
}

UtcTime CurrentUtcTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int64_t seconds = now.tv_sec;
  const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  const int64_t of_day = seconds - days * 86400;
  UtcTime time{};
  CivilDate(days, &time.month, &time.day);
  time.hour = static_cast<uint32_t>(of_day / 3600);
  time.minute = static_cast<uint32_t>(of_day / 60 % 60);
  time.second = static_cast<uint32_t>(of_day % 60);
  time.milliseconds = static_cast<uint32_t>(now.tv_nsec / 1000000);
  return time;
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
