// Linux: files, the clock, standard error and standard output.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <chrono>
#include <string>

#include "platform/platform.h"
#include "platform/utf8.h"

namespace tarnwick::platform {
namespace {

struct Path {
  char text[512];
};

Path InDirectory(const char* directory, const char* name) {
  Path path{};
  std::snprintf(path.text, sizeof path.text, "%s/%s", directory, name);
  return path;
}

}  // namespace

long ReadFilePrefix(const char* directory, const char* name, uint8_t* out, size_t size) {
  int fd = open(InDirectory(directory, name).text, O_RDONLY | O_CLOEXEC);
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

long long FileSize(const char* directory, const char* name) {
  int fd = open(InDirectory(directory, name).text, O_RDONLY | O_CLOEXEC);
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
