#include "plugin/help.h"

#include "host/characters.h"
#include "host/result_text.h"
#include "platform/platform.h"

namespace tarnwick {

const ExportEntry* FindHelp(const char16_t* name) {
  if (name == nullptr) return nullptr;
  for (const ExportEntry& row : kExportTable) {
    size_t i = 0;
    while (i < row.name.size() && UpperCase(row.name[i]) == UpperCase(name[i])) ++i;
    if (i == row.name.size() && name[i] == 0) return &row;
  }
  return nullptr;
}

}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL Help(const char16_t* name) {
  const ExportEntry* row = FindHelp(name);
  if (row == nullptr) return 0;
  char16_t message[kMaxArgLen];
  CopyResult(message, row->help);
  platform::ShowMessage(message, u"Tarnwick Plugin Help");
  return 1;
}
