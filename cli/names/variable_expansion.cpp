#include "cli/names/variable_expansion.h"

namespace tarnwick::cli {
namespace {

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

void AppendValue(std::string& out, std::string_view name, const VariableLookup& lookup) {
  std::string value;
  if (lookup(name, &value)) out += value;
}

}  // namespace

std::string ExpandReferences(std::string_view text, const VariableLookup& lookup) {
  std::string out;
  size_t i = 0;
  bool closed_later = true;  // false once no "]" follows: "%[%[%[..." stays linear
  while (i < text.size()) {
    if (text[i] != '%' || i + 1 == text.size()) {
      out += text[i++];
      continue;
    }
    const char after = text[i + 1];
    if (after == '%') {
      out += '%';
      i += 2;
    } else if (after == '[') {
      const size_t close = closed_later ? text.find(']', i + 2) : std::string_view::npos;
      closed_later = close != std::string_view::npos;
      if (close == std::string_view::npos) {  // unclosed: not a reference
        out += text[i++];
        continue;
      }
      AppendValue(out, text.substr(i + 2, close - i - 2), lookup);
      i = close + 1;
    } else if (IsNameCharacter(after)) {
      size_t end = i + 1;
      while (end < text.size() && IsNameCharacter(text[end])) ++end;
      AppendValue(out, text.substr(i + 1, end - i - 1), lookup);
      i = end < text.size() && text[end] == '%' ? end + 1 : end;
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace tarnwick::cli
