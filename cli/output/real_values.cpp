#include "cli/output/real_values.h"

#include "cli/names/utf8_utf16.h"
#include "host/export_table.h"
#include "smbios/reading/placeholders.h"

namespace tarnwick::cli {

// The rule applied here rather than by calling @smbreal, so that the
// answers of the DMI files, where they stand in for the table, pass it too.
CallResult CallAnswer(const MachineTable& machine, std::string_view text, bool real,
                      std::vector<std::string>* need_table) {
  CallResult result = CallOnMachine(machine, text, need_table);
  const ExportEntry* row = real && result.ok ? FindName(DecodeUtf8(text)) : nullptr;
  if (row != nullptr && !row->is_function && IsPlaceholderText(DecodeUtf8(result.value))) result.value = "N/A";
  return result;
}

}  // namespace tarnwick::cli
