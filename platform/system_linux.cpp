// Linux: UTF-8 everywhere; standard streams are file descriptors.
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system.h"

extern char** environ;

namespace tarnwick::platform {
namespace {

bool IsFifo(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
}

// False, errno telling why, when not every byte was written.
bool WriteAll(int fd, const char* data, size_t size) {
  while (size != 0) {
    const ssize_t wrote = write(fd, data, size);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote == 0) errno = EIO;  // no progress and no reason: say so rather than loop
    if (wrote <= 0) return false;
    data += wrote;
    size -= static_cast<size_t>(wrote);
  }
  return true;
}

std::string Reason() { return std::strerror(errno); }

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

void PrepareStandardStreams() { signal(SIGXFSZ, SIG_IGN); }

WriteOutcome WriteText(void* handle, std::string_view text, std::string* reason) {
  if (WriteAll(static_cast<int>(reinterpret_cast<intptr_t>(handle)), text.data(), text.size())) {
    return WriteOutcome::kWritten;
  }
  if (errno == EPIPE) return WriteOutcome::kReaderGone;
  *reason = Reason();
  return WriteOutcome::kFailed;
}

bool RunsInPipe() { return IsFifo(STDIN_FILENO) || IsFifo(STDOUT_FILENO); }

bool RunsAsRoot() { return geteuid() == 0; }

bool WriteNewFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  // O_EXCL refuses every existing name, a symbolic link included whether or
  // not its target exists; O_NOFOLLOW says so again for the last component.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    struct stat info {};
    if (errno == EEXIST && lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
      *error = "is a symbolic link; --dump-bin writes only a new file";
    } else if (errno == EEXIST) {
      *error = "exists; --dump-bin writes only a new file";
    } else {
      *error = Reason();
    }
    return false;
  }
  bool wrote = WriteAll(fd, reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string reason = wrote ? "" : Reason();
  if (close(fd) != 0 && wrote) wrote = false, reason = Reason();
  if (wrote) return true;
  unlink(path.c_str());  // no part-written dump stays behind
  *error = reason;
  return false;
}

bool ProbeMachineTable(const std::string& sysfs, std::string* tried, std::string* reason) {
  for (const char* name : {"DMI", "smbios_entry_point"}) {
    *tried = DmiTablesFolder(sysfs) + "/" + name;
    if (FileReader file; !file.Open(*tried, reason)) return false;
  }
  return true;
}

std::string FullPathName(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) == nullptr ? path : std::string(resolved);
}

std::vector<std::pair<std::string, std::string>> EnvironmentVariables() {
  std::vector<std::pair<std::string, std::string>> variables;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    if (const char* equals = std::strchr(*entry, '=')) variables.emplace_back(std::string(*entry, static_cast<size_t>(equals - *entry)), equals + 1);
  }
  return variables;
}

}  // namespace tarnwick::platform
