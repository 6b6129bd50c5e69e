#include "tests/wine/host_variables.h"

#include <utility>
#include <vector>

namespace tarnwick::wine {
namespace {

// At the prompt: not a transient shell, not in a pipe, no batch file running.
std::vector<std::pair<std::u16string, std::u16string>> g_variables = {
    {u"_transient", u"0"}, {u"_pipe", u"0"}, {u"_batch", u"0"}};

char16_t Folded(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameName(std::u16string_view left, std::u16string_view right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i)
    if (Folded(left[i]) != Folded(right[i])) return false;
  return true;
}

bool IsNameCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

std::u16string_view Lookup(std::u16string_view name) {
  for (const auto& [known, value] : g_variables)
    if (SameName(known, name)) return value;
  return {};
}

}  // namespace

void SetVariable(std::u16string_view name, std::u16string_view value) {
  for (auto& [known, stored] : g_variables) {
    if (SameName(known, name)) {
      stored = value;
      return;
    }
  }
  g_variables.emplace_back(name, value);
}

std::u16string Expand(std::u16string_view text) {
  std::u16string out;
  size_t at = 0;
  while (at < text.size()) {
    const char16_t c = text[at];
    if (c != u'%' || at + 1 == text.size()) {
      out += c;
      ++at;
      continue;
    }
    if (text[at + 1] == u'%') {
      out += u'%';
      at += 2;
      continue;
    }
    if (text[at + 1] == u'[') {
      const size_t close = text.find(u']', at + 2);
      if (close != std::u16string_view::npos) {
        out += Lookup(text.substr(at + 2, close - at - 2));
        at = close + 1;
        continue;
      }
    }
    size_t end = at + 1;
    while (end < text.size() && IsNameCharacter(text[end])) ++end;
    if (end == at + 1) {  // nothing that names a variable
      out += c;
      ++at;
      continue;
    }
    out += Lookup(text.substr(at + 1, end - at - 1));
    at = end;
  }
  return out;
}

}  // namespace tarnwick::wine
