// Linux: UTF-8 everywhere; standard streams are file descriptors.
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "cli/system.h"
#include "cli/utf8_decode.h"

extern char** environ;

namespace tarnwick::cli {
namespace {

bool IsFifo(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
}

bool ReadDescriptor(int fd, std::vector<uint8_t>* bytes) {
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got == 0) return true;
    if (got < 0) return false;
    bytes->insert(bytes->end(), chunk, chunk + got);
  }
}

bool SameLetters(const char* left, const char* right, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    char a = left[i], b = right[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 0x20);
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 0x20);
    if (a != b) return false;
  }
  return true;
}

}  // namespace

std::vector<std::u16string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(DecodeUtf8(argv[i]));
  return arguments;
}

void* StreamHandle(Stream stream) {
  return reinterpret_cast<void*>(static_cast<intptr_t>(stream == Stream::kOutput ? STDOUT_FILENO : STDERR_FILENO));
}

void WriteText(void* handle, const char16_t* text, size_t length) {
  const int fd = static_cast<int>(reinterpret_cast<intptr_t>(handle));
  const std::string bytes = EncodeUtf8(std::u16string_view(text, length));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) return;
    done += static_cast<size_t>(wrote);
  }
}

bool RunsInPipe() { return IsFifo(STDIN_FILENO) || IsFifo(STDOUT_FILENO); }

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  if (path == u"-") return ReadDescriptor(STDIN_FILENO, bytes);
  const int fd = open(EncodeUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    return false;
  }
  const bool read_all = ReadDescriptor(fd, bytes);
  close(fd);
  return read_all;
}

bool WriteWholeFile(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  const int fd = open(EncodeUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) break;
    done += static_cast<size_t>(wrote);
  }
  return close(fd) == 0 && done == bytes.size();
}

std::u16string FullPathName(const std::u16string& path) {
  char resolved[PATH_MAX];
  if (realpath(EncodeUtf8(path).c_str(), resolved) == nullptr) return path;
  return DecodeUtf8(resolved);
}

bool EnvironmentValue(const std::u16string& name, std::u16string* value) {
  const std::string wanted = EncodeUtf8(name);
  if (const char* exact = getenv(wanted.c_str())) {
    *value = DecodeUtf8(exact);
    return true;
  }
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const char* equals = std::strchr(*entry, '=');
    if (equals == nullptr || static_cast<size_t>(equals - *entry) != wanted.size()) continue;
    if (SameLetters(*entry, wanted.data(), wanted.size())) {
      *value = DecodeUtf8(equals + 1);
      return true;
    }
  }
  return false;
}

}  // namespace tarnwick::cli
