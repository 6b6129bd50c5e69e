// A stand-in for the shell in tests: records what the plug-in writes through
// Printf and Qprintf, formatted, and expands a variable table of the test's.
#pragma once

#include <map>
#include <string>

namespace tarnwick::testing {

struct RecordedOutput {
  std::u16string console;         // Printf
  std::u16string standard_error;  // Qprintf to the standard-error handle
  std::u16string other_handles;   // Qprintf to anything else
  int expansions = 0;             // ExpandVariables calls
};

RecordedOutput& Recorded();
void ClearRecorded();

// Host variables for ExpandVariables, "%name" and "%[name]" alike. Unknown
// names expand to the empty text. Reset restores a prompt that is not
// transient and not in a pipe, outside any batch file.
std::map<std::u16string, std::u16string>& HostVariables();
void ResetHostVariables();

// UTF-16 to UTF-8, for readable assertion messages.
std::string Narrow(const std::u16string& text);

}  // namespace tarnwick::testing
