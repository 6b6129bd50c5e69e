// @smbreal[NAME]: the value of one of the _smb variables, or N/A where the
// firmware left a placeholder (smbios/placeholders.h) instead of a value.
#include <string_view>

#include "functions/argument_list.h"
#include "host/characters.h"
#include "host/diagnostics.h"
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/placeholders.h"

namespace tarnwick {
namespace {

struct Variable {
  std::u16string_view name;
  NameExport read;
};

#define TARNWICK_STRING_ROW(name, type, offset, help) Variable{TARNWICK_WIDE(#name), &name},
#define TARNWICK_VARIABLE_ROW(name, help) Variable{TARNWICK_WIDE(#name), &name},
#define TARNWICK_NOT_A_VARIABLE(name, help)
constexpr Variable kVariables[] = {
    TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_VARIABLE_ROW, TARNWICK_NOT_A_VARIABLE)};
#undef TARNWICK_STRING_ROW
#undef TARNWICK_VARIABLE_ROW
#undef TARNWICK_NOT_A_VARIABLE

const Variable* FindVariable(std::u16string_view name) {
  for (const Variable& variable : kVariables) {
    if (SameIgnoringAsciiCase(variable.name, name)) return &variable;
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
