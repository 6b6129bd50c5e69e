#include "plugin/help.h"

#include <iterator>
#include <string>

#include "plugin/exports.h"
#include "plugin/result_text.h"
#include "functions/argument_list.h"
#include "platform/platform.h"

namespace tarnwick {

const HelpEntry* FindHelp(const char16_t* name) {
  if (name == nullptr) return nullptr;
  for (const HelpEntry& row : kHelpTable) {
    size_t i = 0;
    while (i < std::size(row.name) && row.name[i] != 0 && UpperCase(row.name[i]) == UpperCase(name[i])) ++i;
    if (i < std::size(row.name) && row.name[i] == 0 && name[i] == 0) return &row;
  }
  return nullptr;
}

}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL Help(const char16_t* name) {
  const HelpEntry* row = FindHelp(name);
  if (row == nullptr) return 0;
  char16_t message[kMaxArgLen];
  CopyResult(message, row->text);
  if (row->extra != nullptr) {
    size_t used = std::char_traits<char16_t>::length(message);
    for (const char16_t* at = row->extra; *at != 0 && used + 1 < kMaxArgLen; ++at) message[used++] = *at;
    message[used] = 0;
  }
  platform::ShowMessage(message, u"Tarnwick Plugin Help");
  return 1;
}
