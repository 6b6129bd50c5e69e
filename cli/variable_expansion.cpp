#include "cli/variable_expansion.h"

namespace tarnwick::cli {
namespace {

bool IsNameCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'$';
}

void AppendValue(std::u16string& out, std::u16string_view name, const VariableLookup& lookup) {
  std::u16string value;
  if (lookup(name, &value)) out += value;
}

}  // namespace

std::u16string ExpandReferences(std::u16string_view text, const VariableLookup& lookup) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u'%' || i + 1 == text.size()) {
      out += text[i++];
      continue;
    }
    const char16_t after = text[i + 1];
    if (after == u'%') {
      out += u'%';
      i += 2;
    } else if (after == u'[') {
      const size_t close = text.find(u']', i + 2);
      if (close == std::u16string_view::npos) {  // unclosed: not a reference
        out += text[i++];
        continue;
      }
      AppendValue(out, text.substr(i + 2, close - i - 2), lookup);
      i = close + 1;
    } else if (IsNameCharacter(after)) {
      size_t end = i + 1;
      while (end < text.size() && IsNameCharacter(text[end])) ++end;
      AppendValue(out, text.substr(i + 1, end - i - 1), lookup);
      i = end < text.size() && text[end] == u'%' ? end + 1 : end;
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace tarnwick::cli
