// @smbreal[NAME]: the value of one of the _smb variables, or N/A where the
// firmware left a placeholder (smbios/placeholders.h) instead of a value.
#include <algorithm>
#include <string_view>

#include "functions/argument_list.h"
#include "host/characters.h"
#include "host/diagnostics.h"
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/placeholders.h"

namespace tarnwick {
namespace {

// A variable's name as the split leaves an argument, letters upper case,
// so that finding it is a plain comparison.
constexpr size_t kLongestName = 24;
struct Variable {
  char16_t name[kLongestName];
  size_t length;
  NameExport read;
};

constexpr Variable Row(std::u16string_view name, NameExport read) {
  Variable row{{}, name.size(), read};
  if (name.size() > kLongestName) throw "a variable's name longer than kLongestName";
  for (size_t i = 0; i < name.size(); ++i) row.name[i] = UpperCase(name[i]);
  return row;
}

#define TARNWICK_STRING_ROW(name, type, offset, help) Row(TARNWICK_WIDE(#name), &name),
#define TARNWICK_VARIABLE_ROW(name, help) Row(TARNWICK_WIDE(#name), &name),
#define TARNWICK_NOT_A_VARIABLE(name, help)
constexpr Variable kVariables[] = {
    TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_VARIABLE_ROW, TARNWICK_NOT_A_VARIABLE)};
#undef TARNWICK_STRING_ROW
#undef TARNWICK_VARIABLE_ROW
#undef TARNWICK_NOT_A_VARIABLE

// Every name begins "_SMB": compared from its end, a name that is not the
// one sought differs at once.
const Variable* FindVariable(std::u16string_view name) {
  for (const Variable& variable : kVariables) {
    if (variable.length != name.size()) continue;
    size_t same = name.size();
    while (same > 0 && name[same - 1] == variable.name[same - 1]) --same;
    if (same == 0) return &variable;
  }
  return nullptr;
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL f_smbreal(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  SplitArguments(buffer);
  const char16_t* name = g_arguments.texts[0];
  if (g_arguments.lengths[0] == 0) {
    Diagnose(u"Missing variable name\r\n", nullptr);
    return -1;
  }
  const Variable* variable = FindVariable({name, static_cast<size_t>(g_arguments.lengths[0])});
  if (variable == nullptr) {
    Diagnose(u"Bad variable name (must be an _smb variable) \"%s\"\r\n", name);
    return -1;
  }
  // A string variable without its structure writes nothing and answers
  // empty, as it does when the host hands it an empty buffer.
  buffer[0] = 0;
  variable->read(buffer);
  if (IsPlaceholderText(buffer)) WriteNotAvailable(buffer);
  return 0;
}
