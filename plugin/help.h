// Help texts of the 45 names, shown when the user asks the host for help.
#pragma once

#include <cstddef>

namespace tarnwick {

struct HelpEntry {
  char16_t name[20];      // as the list of names spells it; the longest has 18
  const char16_t* text;   // opens with the name in upper case and CR LF
  const char16_t* extra;  // appended to text when present
};

extern const HelpEntry kHelpTable[45];

// The row whose name equals `name`, ignoring the case of A-Z only; null if none.
const HelpEntry* FindHelp(const char16_t* name);

}  // namespace tarnwick
