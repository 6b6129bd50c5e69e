// The command-line host's only contact with the operating system: standard
// streams, files, the environment. One implementation per system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::cli {

// The command line's arguments after the program name, as UTF-16.
std::vector<std::u16string> CommandLineArguments(int argc, char** argv);

enum class Stream { kOutput, kError };

// The handle that the plug-in's Qprintf receives for `stream`.
void* StreamHandle(Stream stream);

// Writes `text` to a handle that StreamHandle gave: a console gets UTF-16,
// a pipe or a file gets UTF-8. Line ends are written as they are.
void WriteText(void* handle, const char16_t* text, size_t length);

// True when the process's standard input or output is a pipe.
bool RunsInPipe();

// The whole file, or standard input for "-"; false when it cannot be read.
bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>* bytes);
bool WriteWholeFile(const std::u16string& path, const std::vector<uint8_t>& bytes);

// The absolute form of `path`, or `path` itself when it cannot be resolved.
std::u16string FullPathName(const std::u16string& path);

// The environment variable `name`, its letters compared without case, as
// the shell does; false when it is not set.
bool EnvironmentValue(const std::u16string& name, std::u16string* value);

}  // namespace tarnwick::cli
