// Linux: files, the clock, standard error and standard output.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/utf8.h"

namespace tarnwick::platform {

FileReader::~FileReader() {
  if (owned_) close(static_cast<int>(handle_));
}

bool FileReader::Open(const std::string& path, std::string* reason) {
  int fd = STDIN_FILENO;
  if (path != "-") {
    // A FIFO opened without O_NONBLOCK waits for a writer, for ever if none
    // comes (fifo(7)). With it, the open returns at once; cleared again, a
    // read waits only for a writer that is there, and one without reads as
    // ended.
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return *reason = std::strerror(errno), false;
    owned_ = true;
  }
  handle_ = fd;
  if (const int flags = fcntl(fd, F_GETFL); owned_ && (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)) {
    return *reason = std::strerror(errno), false;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0) return *reason = std::strerror(errno), false;
  if (S_ISDIR(info.st_mode)) return *reason = std::strerror(EISDIR), false;
  regular_ = S_ISREG(info.st_mode);
  size_at_open_ = static_cast<uint64_t>(info.st_size);
  return true;
}

long FileReader::Read(uint8_t* out, size_t size, std::string* reason) {
  while (true) {
    const ssize_t got = read(static_cast<int>(handle_), out, size);
    if (got >= 0) return static_cast<long>(got);
    if (errno != EINTR) return *reason = std::strerror(errno), -1;
  }
}

bool FileReader::Changed() const {
  struct stat info {};
  return regular_ && (fstat(static_cast<int>(handle_), &info) != 0 ||
                      static_cast<uint64_t>(info.st_size) != size_at_open_);
}

long ReadFilePrefix(const std::string& directory, const char* name, uint8_t* out, size_t size) {
  FileReader file;
  std::string ignored;
  if (!file.Open(directory + "/" + name, &ignored)) return -1;
  size_t total = 0;
  while (total < size) {
    const long got = file.Read(out + total, size - total, &ignored);
    if (got <= 0) break;
    total += static_cast<size_t>(got);
  }
  return static_cast<long>(total);
}

long long FileSize(const std::string& directory, const char* name, long long cap) {
  FileReader file;
  std::string ignored;
  if (!file.Open(directory + "/" + name, &ignored)) return -1;
  auto size = static_cast<long long>(file.SizeAtOpen());
  if (size == 0) {  // some pseudo files report no size: count the bytes
    uint8_t scratch[4096];
    long got;
    while (size <= cap && (got = file.Read(scratch, sizeof scratch, &ignored)) > 0) size += got;
  }
  return size;
}

void* StandardOutputHandle() { return reinterpret_cast<void*>(static_cast<intptr_t>(STDOUT_FILENO)); }
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
