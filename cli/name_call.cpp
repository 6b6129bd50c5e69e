#include "cli/name_call.h"

#include <algorithm>

#include "cli/output.h"
#include "cli/utf8_utf16.h"

namespace tarnwick::cli {
namespace {

void Refuse(std::string_view text, std::string_view reason) {
  Err("tarnwick: " + std::string(text) + ": " + std::string(reason) + "\n");
}

char16_t g_buffer[kMaxArgLen];

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

CallResult CallOne(std::string_view text);

// Replaces each call that stands in the argument of another by its result,
// innermost first, as the shell does: @smbword[17,0x0C,@smbhandle[17,2]].
// False when an inner call fails.
bool ExpandNestedCalls(std::string* text) {
  for (;;) {
    const size_t close = text->find(']');
    const size_t open = close == std::string::npos ? close : text->rfind('[', close);
    if (open == std::string::npos) return true;
    size_t start = open;
    while (start > 0 && IsNameCharacter((*text)[start - 1])) --start;
    // The outermost call, or a bracket that opens no call: left to the parse.
    if (start < 2 || (*text)[start - 1] != '@') return true;
    --start;
    const CallResult inner = CallOne(std::string_view(*text).substr(start, close + 1 - start));
    if (!inner.ok) return false;
    text->replace(start, close + 1 - start, inner.value);
  }
}

}  // namespace

bool ParseNameCall(std::string_view text, NameCall* call, std::string* error) {
  const size_t open = text.find('[');
  *call = {text, {}, false};
  if (open == std::string_view::npos) return true;
  const size_t close = text.rfind(']');
  if (close == std::string_view::npos || close < open) {
    *error = "\"[\" without a closing \"]\"";
    return false;
  }
  if (close + 1 != text.size()) {
    *error = "text after the closing \"]\"";
    return false;
  }
  *call = {text.substr(0, open), text.substr(open + 1, close - open - 1), true};
  return true;
}

CallResult CallName(std::string_view text) {
  std::string expanded(text);
  if (!ExpandNestedCalls(&expanded)) return {};
  return CallOne(expanded);
}

namespace {

CallResult CallOne(std::string_view text) {
  NameCall call;
  std::string error;
  if (!ParseNameCall(text, &call, &error)) {
    Refuse(text, error);
    return {};
  }
  const ExportEntry* row = FindName(DecodeUtf8(call.name));
  if (row == nullptr) {
    Refuse(text, "unknown name");
    return {};
  }
  if (call.bracketed && !row->is_function) {
    Refuse(text, "a variable takes no argument");
    return {};
  }
  // The shell passes at most kMaxArgLen - 1 characters and the NUL.
  const std::u16string argument = DecodeUtf8(call.argument);
  if (argument.size() >= kMaxArgLen) {
    Refuse(call.name, "argument of " + std::to_string(argument.size()) + " characters; the host passes at most " +
                          std::to_string(kMaxArgLen - 1));
    return {};
  }
  *std::copy(argument.begin(), argument.end(), g_buffer) = u'\0';
  if (row->entry(g_buffer) != 0) return {};
  // The plug-in terminates its result inside the buffer; trust no more.
  const char16_t* begin = g_buffer;
  return {true, EncodeUtf8(std::u16string_view(begin, std::find(begin, begin + kMaxArgLen, u'\0') - begin))};
}

}  // namespace

}  // namespace tarnwick::cli
