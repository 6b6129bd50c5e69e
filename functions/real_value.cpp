// @smbreal[NAME]: the value of one of the _smb variables, or N/A where the
// firmware left a placeholder (smbios/placeholders.h) instead of a value.
#include <algorithm>
#include <iterator>
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

// Names in the list's order, which is alphabetical; letters compared as the
// split leaves them, upper case ("_" stands only first, so case does not
// change the order).
constexpr bool NameBefore(std::u16string_view left, std::u16string_view right) {
  return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                      [](char16_t a, char16_t b) { return UpperCase(a) < UpperCase(b); });
}
static_assert(std::is_sorted(std::begin(kVariables), std::end(kVariables),
                             [](const Variable& a, const Variable& b) { return NameBefore(a.name, b.name); }));

const Variable* FindVariable(std::u16string_view name) {
  const auto before = [](const Variable& v, std::u16string_view n) { return NameBefore(v.name, n); };
  const Variable* found = std::lower_bound(std::begin(kVariables), std::end(kVariables), name, before);
  return found != std::end(kVariables) && SameIgnoringAsciiCase(found->name, name) ? found : nullptr;
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
