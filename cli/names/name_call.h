// A NAME as users write it ("_smbmfg", "@smbword[4,0x16]"), matched to the
// plug-in's export and called with the host's buffer.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "host/export_table.h"

namespace tarnwick::cli {

// The longest NAME: the shell's command line holds kMaxArgLen - 1 characters.
inline constexpr size_t kLongestName = kMaxArgLen - 1;

struct NameCall {
  std::string_view name;      // before the first "["
  std::string_view argument;  // between the first "[" and the last "]"
  bool bracketed = false;
};

// False, with the reason naming the part, when a "[" has no "]" after it or
// text follows the last "]".
bool ParseNameCall(std::string_view text, NameCall* call, std::string* error);

struct CallResult {
  bool ok = false;  // false: nothing to show; the reason is on standard error
  std::string value;
};

// Makes one call of an export with the host's buffer; what CallName uses
// unless told otherwise (a fuzz target counts the calls).
using ExportCaller = std::function<int(const ExportEntry& row, char16_t* buffer)>;

// Calls the export for `text` with a zeroed buffer of kMaxArgLen units, the
// argument text in it for a function, as UTF-16. Calls nested in the
// argument ("@name[...]") are made first, innermost first, and their
// results stand in their place as they are: a result is never read again
// for calls, so no text of the table runs. The host's own refusals (NAME
// longer than the shell's line, unknown name, malformed call, argument too
// long) go to standard error here, naming the part that failed; the plug-in
// writes its diagnostics itself. A failing inner call fails the whole name.
// Time and memory grow linearly with the text.
CallResult CallName(std::string_view text, const ExportCaller& caller = {});

}  // namespace tarnwick::cli
