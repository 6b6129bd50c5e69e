// @smbreal[NAME]: the value of one of the _smb variables, or N/A where the
// firmware left a placeholder (smbios/reading/placeholders.h) instead of a value.
#include "functions/real_value.h"

#include "functions/argument_list.h"
#include "host/diagnostics.h"
#include "host/export_table.h"
#include "host/result_text.h"
#include "smbios/reading/placeholders.h"

using namespace tarnwick;

const ExportEntry* tarnwick::RealValueVariable(const char16_t* argument) {
  if (SplitArguments(argument) < 1 || g_arguments.lengths[0] == 0) return nullptr;
  const ExportEntry* named = FindName({g_arguments.texts[0], static_cast<size_t>(g_arguments.lengths[0])});
  return named != nullptr && !named->is_function ? named : nullptr;
}

TARNWICK_EXPORT int TARNWICK_CALL f_smbreal(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  SplitArguments(buffer);
  const char16_t* name = g_arguments.texts[0];
  if (g_arguments.lengths[0] == 0) {
    Diagnose(u"Missing variable name\r\n", nullptr);
    return -1;
  }
  const ExportEntry* variable = FindName({name, static_cast<size_t>(g_arguments.lengths[0])});
  if (variable == nullptr || variable->is_function) {
    Diagnose(u"Bad variable name (must be an _smb variable) \"%s\"\r\n", name);
    return -1;
  }
  // A string variable without its structure writes nothing and answers
  // empty, as it does when the host hands it an empty buffer.
  buffer[0] = 0;
  variable->entry(buffer);
  if (IsPlaceholderText(buffer)) WriteNotAvailable(buffer);
  return 0;
}
