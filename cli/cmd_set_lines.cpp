#include "cli/cmd_set_lines.h"

namespace tarnwick::cli {
namespace {

// What `for /f ... do %%L` and `set "..."` cannot pass through unchanged.
// "%" is safe: %%L is replaced after the line's percent expansion. "^", "&",
// "|", "<" and ">" are literal inside the quotes.
const char* Unsafe(std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '"':
        return "a double quote, which would end set \"...\" early";
      case '\r':
      case '\n':
        return "a line break, which would end the line";
      case '\0':
        return "a NUL, which would end the line";
      case '!':
        return "\"!\", which delayed expansion would consume";
      default:
        break;
    }
  }
  return nullptr;
}

}  // namespace

bool CmdSetLine(std::string_view name, std::string_view value, std::string* line, std::string* reason) {
  const char* unsafe = Unsafe(value);
  if (unsafe != nullptr) {
    *reason = std::string("the value holds ") + unsafe;
    return false;
  }
  if (name.find('=') != std::string_view::npos || Unsafe(name) != nullptr) {
    *reason = "cmd.exe cannot name a variable so";
    return false;
  }
  *line = "set \"" + std::string(name) + '=' + std::string(value) + "\"\n";
  return true;
}

}  // namespace tarnwick::cli
