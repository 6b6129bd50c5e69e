#include "cli/names/name_call.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "cli/names/name_message.h"
#include "cli/names/utf8_utf16.h"

namespace tarnwick::cli {
namespace {

bool IsNameCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

char16_t g_buffer[kMaxArgLen];

int CallExport(const ExportEntry& row, char16_t* buffer) { return row.entry(buffer); }

// One evaluation of a NAME: the text as typed, for messages, and the caller.
struct Evaluation {
  std::string_view typed;
  const ExportCaller& caller;

  bool Refuse(const std::string& reason) const {
    RefuseName(typed, reason);
    return false;
  }

  // `lead`, then `part` in quotes where it is not the whole text typed.
  std::string Naming(std::string lead, std::u16string_view part) const {
    const std::string named = EncodeUtf8(part);
    return named == typed ? lead : lead + " \"" + EchoText(named) + "\"";
  }

  // False, refused, once an argument grows past what the host's buffer holds.
  bool Fits(const std::u16string& argument, std::u16string_view name) const {
    if (argument.size() < kMaxArgLen) return true;
    return Refuse("the argument of " + EchoText(EncodeUtf8(name)) + " is longer than the " +
                  std::to_string(kMaxArgLen - 1) + " characters the host passes");
  }

  // The export `name` called with `argument` (none: not bracketed).
  std::optional<std::u16string> Call(std::u16string_view name, const std::u16string* argument) const {
    if (name.empty()) return Refuse("no name before \"[\""), std::nullopt;
    const ExportEntry* row = FindName(name);
    if (row == nullptr) return Refuse(Naming("unknown name", name)), std::nullopt;
    if (argument != nullptr && !row->is_function) return Refuse("a variable takes no argument"), std::nullopt;
    if (argument != nullptr && !Fits(*argument, name)) return std::nullopt;
    const std::u16string_view text = argument != nullptr ? std::u16string_view(*argument) : std::u16string_view();
    *std::copy(text.begin(), text.end(), g_buffer) = u'\0';
    if ((caller ? caller(*row, g_buffer) : CallExport(*row, g_buffer)) != 0) return std::nullopt;
    // The plug-in terminates its result inside the buffer; trust no more.
    return std::u16string(g_buffer, std::find(g_buffer, g_buffer + kMaxArgLen, u'\0'));
  }

  // The argument `text` of the call `outer` with each call "@name[...]" in
  // it replaced by its result, in one pass: a "]" closes the innermost call
  // begun, and a result joins the text around it without being read again.
  // Any other bracket is text. No argument grows past the host's buffer.
  std::optional<std::u16string> Expand(std::u16string_view text, std::u16string_view outer) const {
    struct Begun {
      size_t at;  // of its "@" in `text`
      std::u16string_view name;
      std::u16string argument;
    };
    std::vector<Begun> begun;
    std::u16string out;
    const auto target = [&]() -> std::u16string& { return begun.empty() ? out : begun.back().argument; };
    for (size_t i = 0; i < text.size();) {
      if (text[i] == u'@') {
        size_t end = i + 1;
        while (end < text.size() && IsNameCharacter(text[end])) ++end;
        if (end > i + 1 && end < text.size() && text[end] == u'[') {
          begun.push_back({i, text.substr(i, end - i), {}});
          i = end + 1;
          continue;
        }
        target().append(text.substr(i, end - i));
        i = end;
      } else if (text[i] == u']' && !begun.empty()) {
        const std::optional<std::u16string> result = Call(begun.back().name, &begun.back().argument);
        if (!result) return std::nullopt;
        begun.pop_back();
        target() += *result;
        ++i;
      } else {
        target() += text[i++];
      }
      if (!Fits(target(), begun.empty() ? outer : begun.back().name)) return std::nullopt;
    }
    if (!begun.empty()) {
      return Refuse(Naming("\"[\" without a closing \"]\" in", text.substr(begun.back().at))), std::nullopt;
    }
    return out;
  }
};

}  // namespace

bool ParseNameCall(std::string_view text, NameCall* call, std::string* error) {
  const size_t open = text.find('[');
  *call = {text, {}, false};
  if (open == std::string_view::npos) return true;
  const size_t close = text.rfind(']');
  if (close == std::string_view::npos || close < open) {
    *error = "the \"[\" after \"" + EchoText(text.substr(0, open)) + "\" has no closing \"]\"";
    return false;
  }
  if (close + 1 != text.size()) {
    *error = "text after the closing \"]\": \"" + EchoText(text.substr(close + 1)) + "\"";
    return false;
  }
  *call = {text.substr(0, open), text.substr(open + 1, close - open - 1), true};
  return true;
}

CallResult CallName(std::string_view text, const ExportCaller& caller) {
  const Evaluation evaluation{text, caller};
  const size_t length = DecodeUtf8(text).size();
  if (length > kLongestName) {
    evaluation.Refuse("a NAME of " + std::to_string(length) + " characters; the shell's line holds at most " +
                      std::to_string(kLongestName));
    return {};
  }
  NameCall call;
  std::string error;
  if (!ParseNameCall(text, &call, &error)) {
    evaluation.Refuse(error);
    return {};
  }
  const std::u16string name = DecodeUtf8(call.name);
  std::optional<std::u16string> argument;
  if (call.bracketed && !(argument = evaluation.Expand(DecodeUtf8(call.argument), name))) return {};
  const std::optional<std::u16string> result = evaluation.Call(name, argument ? &*argument : nullptr);
  if (!result) return {};
  return {true, EncodeUtf8(*result)};
}

}  // namespace tarnwick::cli
