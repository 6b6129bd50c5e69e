// Help on the plug-in's names, shown when the user asks the host for it.
#include "host/result_text.h"
#include "platform/platform.h"
#include "host/export_table.h"

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL Help(const char16_t* name) {
  const ExportEntry* row = name == nullptr ? nullptr : FindName(name);
  if (row == nullptr) return 0;
  char16_t message[kMaxArgLen];
  CopyResult(message, row->help);
  platform::ShowMessage(message, u"Tarnwick Plugin Help");
  return 1;
}
