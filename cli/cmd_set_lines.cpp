#include "cli/cmd_set_lines.h"

#include <string>

namespace tarnwick::cli {
namespace {

// The longest line cmd.exe runs: 8190 characters and its end. A longer set
// line sets nothing and ends the whole for /f loop. Counted in bytes, which
// are never fewer than the characters of UTF-8.
constexpr size_t kLongestLine = 8190;

// The for variables of the loops that run the lines: %%A and %%B with
// "tokens=1*", %%L with "delims=". Wine's cmd.exe replaces a for variable
// again inside the text that it has just put in its place, so "%A" in a
// value becomes the loop's first token, "%B" repeats without end (cmd.exe
// crashes), and "%~$PATH:A" searches PATH.
constexpr std::string_view kLoopVariables = "ABL";
constexpr std::string_view kTildeModifiers = "fdpnxsatz";

// The length of the for-variable reference at text[at], a "%", or 0: "%X"
// or "%~" with modifiers and an optional "$VAR:" before X, X a loop variable.
size_t LoopReference(std::string_view text, size_t at) {
  size_t i = at + 1;
  if (i < text.size() && text[i] == '~') {
    ++i;
    while (i < text.size() && kTildeModifiers.find(text[i]) != std::string_view::npos) ++i;
    if (i < text.size() && text[i] == '$') {
      const size_t colon = text.find(':', i);
      if (colon == std::string_view::npos) return 0;
      i = colon + 1;
    }
  }
  return i < text.size() && kLoopVariables.find(text[i]) != std::string_view::npos ? i + 1 - at : 0;
}

// What `for /f ... do %%L` and `set "..."` cannot pass through unchanged.
// Other "%" are safe: the loop's text is substituted after the line's
// percent expansion. "^", "&", "|", "<" and ">" are literal inside quotes.
std::string Unsafe(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '"':
        return "a double quote, which would end set \"...\" early";
      case '\r':
      case '\n':
        return "a line break, which would end the line";
      case '\0':
        return "a NUL, which would end the line";
      case '\x1A':
        return "a Ctrl-Z (1Ah), which ends cmd.exe's reading of the lines";
      case '!':
        return "\"!\", which delayed expansion would consume";
      case '%':
        if (const size_t length = LoopReference(text, i); length != 0) {
          return '"' + std::string(text.substr(i, length)) +
                 "\", which Wine's cmd.exe replaces by a for variable of the loop (%%A, %%B or %%L)";
        }
        break;
      default:
        break;
    }
  }
  return {};
}

}  // namespace

bool CmdSetLine(std::string_view name, std::string_view value, std::string* line, std::string* reason) {
  if (const std::string unsafe = Unsafe(value); !unsafe.empty()) {
    *reason = "the value holds " + unsafe;
    return false;
  }
  if (name.find('=') != std::string_view::npos || !Unsafe(name).empty()) {
    *reason = "cmd.exe cannot name a variable so";
    return false;
  }
  *line = "set \"" + std::string(name) + '=' + std::string(value) + "\"\n";
  if (line->size() - 1 > kLongestLine) {
    *reason = "the value holds " + std::to_string(value.size()) + " bytes: its line set \"...\" would be " +
              std::to_string(line->size() - 1) + ", longer than the " + std::to_string(kLongestLine) +
              " that cmd.exe runs";
    line->clear();
    return false;
  }
  return true;
}

}  // namespace tarnwick::cli
