// A NAME as users write it ("_smbmfg", "@smbword[4,0x16]"), matched to the
// plug-in's export and called with the host's buffer.
#pragma once

#include <string>
#include <string_view>

#include "plugin/export_table.h"

namespace tarnwick::cli {

struct NameCall {
  std::string_view name;      // before the first "["
  std::string_view argument;  // between the first "[" and the last "]"
  bool bracketed = false;
};

// False, with the reason, when a "[" has no "]" after it or text follows
// the last "]".
bool ParseNameCall(std::string_view text, NameCall* call, std::string* error);

struct CallResult {
  bool ok = false;  // false: nothing to show; the reason is on standard error
  std::string value;
};

// Calls the export for `text` with a zeroed buffer of kMaxArgLen units, the
// argument text in it for a function, as UTF-16. The host's own refusals
// (unknown name, malformed call, argument too long) go to standard error
// here; the plug-in writes its diagnostics itself. Calls nested in the
// argument are made first, innermost first, and their results stand in
// their place; a failing inner call fails the whole name.
CallResult CallName(std::string_view text);

}  // namespace tarnwick::cli
