// Every name as users write it, with its export and help text, in list order.
// Hosts that link the plug-in's core directly dispatch through this table.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "host/characters.h"
#include "host/exports.h"

namespace tarnwick {

struct ExportEntry {
  std::u16string_view name;         // "_smbmfg", "@smbword"
  std::u16string_view export_name;  // "_smbmfg", "f_smbword"
  NameExport entry;
  bool is_function;
  const char16_t* help;
};

#define TARNWICK_STRING_ROW(name, type, offset, help) \
  ExportEntry{TARNWICK_WIDE(#name), TARNWICK_WIDE(#name), &name, false, help},
#define TARNWICK_VARIABLE_ROW(name, help) ExportEntry{TARNWICK_WIDE(#name), TARNWICK_WIDE(#name), &name, false, help},
#define TARNWICK_FUNCTION_ROW(name, help) \
  ExportEntry{TARNWICK_WIDE("@" #name), TARNWICK_WIDE("f_" #name), &f_##name, true, help},
inline constexpr ExportEntry kExportTable[] = {
    TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_VARIABLE_ROW, TARNWICK_FUNCTION_ROW)};
#undef TARNWICK_STRING_ROW
#undef TARNWICK_VARIABLE_ROW
#undef TARNWICK_FUNCTION_ROW

// The row of `name` as users write it ("_SMBMFG", "@SmbWord"), letters
// compared without case as the shell matches names; null for none.
inline const ExportEntry* FindName(std::u16string_view name) {
  for (const ExportEntry& row : kExportTable) {
    if (SameIgnoringAsciiCase(row.name, name)) return &row;
  }
  return nullptr;
}

// The names joined by commas, NUL-terminated: PluginInfo's "implements".
inline constexpr size_t JoinedNamesLength() {
  size_t length = 0;
  for (const ExportEntry& row : kExportTable) length += row.name.size() + 1;
  return length;  // commas between names, and the NUL
}

inline constexpr std::array<char16_t, JoinedNamesLength()> JoinNames() {
  std::array<char16_t, JoinedNamesLength()> joined{};
  size_t at = 0;
  for (const ExportEntry& row : kExportTable) {
    if (at != 0) joined[at++] = u',';
    for (char16_t c : row.name) joined[at++] = c;
  }
  joined[at] = 0;
  return joined;
}

inline constexpr std::array<char16_t, JoinedNamesLength()> kImplementedNames = JoinNames();

}  // namespace tarnwick
