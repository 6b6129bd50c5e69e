#include "cli/name_call.h"

#include <algorithm>

#include "cli/output.h"
#include "cli/utf8_decode.h"

namespace tarnwick::cli {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c; }

void Refuse(std::string_view text, std::string_view reason) {
  Err("tarnwick: " + std::string(text) + ": " + std::string(reason) + "\n");
}

char16_t g_buffer[kMaxArgLen];

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

const ExportEntry* FindExport(std::string_view name) {
  // The names are ASCII: a byte of a longer UTF-8 sequence matches none of them.
  for (const ExportEntry& row : kExportTable) {
    if (row.name.size() == name.size() &&
        std::equal(name.begin(), name.end(), row.name.begin(), [](char a, char16_t b) {
          return Lower(static_cast<char16_t>(static_cast<unsigned char>(a))) == Lower(b);
        })) {
      return &row;
    }
  }
  return nullptr;
}

CallResult CallName(std::string_view text) {
  NameCall call;
  std::string error;
  if (!ParseNameCall(text, &call, &error)) {
    Refuse(text, error);
    return {};
  }
  const ExportEntry* row = FindExport(call.name);
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
  std::fill(std::begin(g_buffer), std::end(g_buffer), u'\0');
  std::copy(argument.begin(), argument.end(), g_buffer);
  if (row->entry(g_buffer) != 0) return {};
  // The plug-in terminates its result inside the buffer; trust no more.
  const char16_t* begin = g_buffer;
  return {true, EncodeUtf8(std::u16string_view(begin, std::find(begin, begin + kMaxArgLen, u'\0') - begin))};
}

}  // namespace tarnwick::cli
