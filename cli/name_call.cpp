#include "cli/name_call.h"

#include <algorithm>

#include "cli/output.h"
#include "cli/text_quoting.h"

namespace tarnwick::cli {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c; }

void Refuse(std::u16string_view text, std::u16string_view reason) {
  Err(u"tarnwick: " + std::u16string(text) + u": " + std::u16string(reason) + u"\n");
}

char16_t g_buffer[kMaxArgLen];

bool IsNameCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

CallResult CallOne(std::u16string_view text);

// Replaces each call that stands in the argument of another by its result,
// innermost first, as the shell does: @smbword[17,0x0C,@smbhandle[17,2]].
// False when an inner call fails.
bool ExpandNestedCalls(std::u16string* text) {
  for (;;) {
    const size_t close = text->find(u']');
    const size_t open = close == std::u16string::npos ? close : text->rfind(u'[', close);
    if (open == std::u16string::npos) return true;
    size_t start = open;
    while (start > 0 && IsNameCharacter((*text)[start - 1])) --start;
    // The outermost call, or a bracket that opens no call: left to the parse.
    if (start < 2 || (*text)[start - 1] != u'@') return true;
    --start;
    const CallResult inner = CallOne(std::u16string_view(*text).substr(start, close + 1 - start));
    if (!inner.ok) return false;
    text->replace(start, close + 1 - start, inner.value);
  }
}

}  // namespace

bool ParseNameCall(std::u16string_view text, NameCall* call, std::u16string* error) {
  const size_t open = text.find(u'[');
  *call = {text, {}, false};
  if (open == std::u16string_view::npos) return true;
  const size_t close = text.rfind(u']');
  if (close == std::u16string_view::npos || close < open) {
    *error = u"\"[\" without a closing \"]\"";
    return false;
  }
  if (close + 1 != text.size()) {
    *error = u"text after the closing \"]\"";
    return false;
  }
  *call = {text.substr(0, open), text.substr(open + 1, close - open - 1), true};
  return true;
}

const ExportEntry* FindExport(std::u16string_view name) {
  for (const ExportEntry& row : kExportTable) {
    if (row.name.size() == name.size() && std::equal(name.begin(), name.end(), row.name.begin(),
                                                     [](char16_t a, char16_t b) { return Lower(a) == Lower(b); })) {
      return &row;
    }
  }
  return nullptr;
}

CallResult CallName(std::u16string_view text) {
  std::u16string expanded(text);
  if (!ExpandNestedCalls(&expanded)) return {};
  return CallOne(expanded);
}

namespace {

CallResult CallOne(std::u16string_view text) {
  NameCall call;
  std::u16string error;
  if (!ParseNameCall(text, &call, &error)) {
    Refuse(text, error);
    return {};
  }
  const ExportEntry* row = FindExport(call.name);
  if (row == nullptr) {
    Refuse(text, u"unknown name");
    return {};
  }
  if (call.bracketed && !row->is_function) {
    Refuse(text, u"a variable takes no argument");
    return {};
  }
  // The shell passes at most kMaxArgLen - 1 characters and the NUL.
  if (call.argument.size() >= kMaxArgLen) {
    Refuse(call.name, u"argument of " + DecimalText(call.argument.size()) + u" characters; the host passes at most " +
                          DecimalText(kMaxArgLen - 1));
    return {};
  }
  std::fill(std::begin(g_buffer), std::end(g_buffer), u'\0');
  std::copy(call.argument.begin(), call.argument.end(), g_buffer);
  if (row->entry(g_buffer) != 0) return {};
  // The plug-in terminates its result inside the buffer; trust no more.
  const char16_t* begin = g_buffer;
  return {true, std::u16string(begin, std::find(begin, begin + kMaxArgLen, u'\0'))};
}

}  // namespace

}  // namespace tarnwick::cli
