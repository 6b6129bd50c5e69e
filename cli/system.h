// The command-line host's only contact with the operating system: standard
// streams, files, the environment. One implementation per system. Texts are
// UTF-8 here; the Windows side converts at its calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::cli {

using Bytes = std::vector<uint8_t>;

// The command line's arguments after the program name.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

enum class Stream { kOutput, kError };

// The handle that the plug-in's Qprintf receives for `stream`.
void* StreamHandle(Stream stream);

// Makes a write that fails report it, rather than end the process by a
// signal (SIGXFSZ at a file-size limit on Linux). A reader that goes away
// still ends the process quietly where the system does so (SIGPIPE).
void PrepareStandardStreams();

enum class WriteOutcome { kWritten, kReaderGone, kFailed };

// Writes UTF-8 `text` to a handle that StreamHandle gave: a Windows console
// gets it as UTF-16, anything else as it is. Line ends are written as they
// are. kFailed, with the system's reason, when not every byte was written;
// kReaderGone when a pipe's reader has closed its end.
WriteOutcome WriteText(void* handle, std::string_view text, std::string* reason);

// True when the process's standard input or output is a pipe.
bool RunsInPipe();

// True when the process may read every file, the SMBIOS table too: root on
// Linux. Windows lets every user read the table.
bool RunsAsRoot();

// A file, or standard input for "-", open for reading.
class Input {
 public:
  Input() = default;
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;
  ~Input();

  // False, with the system's reason, when it cannot be opened or is a directory.
  bool Open(const std::string& path, std::string* error);
  // Appends to `bytes` until it holds `limit` bytes or the input ends; false,
  // with the reason, when a read fails.
  bool ReadUpTo(size_t limit, Bytes* bytes, std::string* error);
  // True when a regular file's size now differs from its size at Open: the
  // bytes read may be a mix of two versions or cut short.
  bool Changed() const;

 private:
  intptr_t handle_ = -1;
  bool owned_ = false;
  bool regular_ = false;
  uint64_t size_at_open_ = 0;
};

// Creates `path` as a new file holding `bytes`. An existing path, a symbolic
// link among them even when it points nowhere, is refused; a file that
// cannot be written to the end is removed. False, with the reason.
bool WriteNewFile(const std::string& path, const Bytes& bytes, std::string* error);

// Whether the machine's SMBIOS table can be read: false with what tarnwick
// tried and the system's reason. Linux: the files under `sysfs`/firmware/
// dmi/tables, readable by root only; Windows: the firmware-table service.
bool ProbeMachineTable(const std::string& sysfs, std::string* tried, std::string* reason);

// The absolute form of `path`, or `path` itself when it cannot be resolved.
std::string FullPathName(const std::string& path);

// The environment variable `name`, its letters compared without case, as
// the shell does; false when it is not set.
bool EnvironmentValue(const std::string& name, std::string* value);

}  // namespace tarnwick::cli
