// What the command line needs of the operating system besides the plug-in's
// (platform/platform.h): its arguments, standard streams, files read once
// and written new, the environment. Texts are UTF-8 here; the Windows side
// converts at its calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace tarnwick::platform {

// The command line's arguments after the program name.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes a write that fails report it, rather than end the process by a
// signal (SIGXFSZ at a file-size limit on Linux). A reader that goes away
// still ends the process quietly where the system does so (SIGPIPE).
void PrepareStandardStreams();

enum class WriteOutcome { kWritten, kReaderGone, kFailed };

// Writes UTF-8 `text` to the handle of a standard stream (platform.h):
// a Windows console gets it as UTF-16, anything else as it is. Line ends
// are written as they are. kFailed, with the system's reason, when not
// every byte was written; kReaderGone when a pipe's reader has closed its end.
WriteOutcome WriteText(void* handle, std::string_view text, std::string* reason);

// True when the process's standard input or output is a pipe.
bool RunsInPipe();

// True when the process may read every file, the SMBIOS table too: root on
// Linux. Windows lets every user read the table.
bool RunsAsRoot();

enum class FileRead { kWhole, kFailed, kChanged };

// Reads the file at `path`, or standard input for "-", once: until it ends
// or `bytes` holds `cap` bytes. kFailed, with the system's reason, when it
// cannot be opened, is a directory or a read fails; kChanged, with that
// reason, when a regular file's size changed while it was read.
FileRead ReadFileOnce(const std::string& path, size_t cap, std::vector<uint8_t>* bytes, std::string* reason);

// Creates `path` as a new file holding `bytes`. An existing path, a symbolic
// link among them even when it points nowhere, is refused; a file that
// cannot be written to the end is removed. False, with the reason.
bool WriteNewFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

// Whether the machine's SMBIOS table can be read: false with what tarnwick
// tried and the system's reason. Linux: the files of DmiTablesFolder(sysfs),
// readable by root only; Windows: the firmware-table service.
bool ProbeMachineTable(const std::string& sysfs, std::string* tried, std::string* reason);

// The absolute form of `path`, or `path` itself when it cannot be resolved.
std::string FullPathName(const std::string& path);

// The process's environment variables, name and value, in the system's order.
std::vector<std::pair<std::string, std::string>> EnvironmentVariables();

}  // namespace tarnwick::platform
