// Writing one SMBIOS structure (DSP0134 6.1.2): header, formatted area and
// string-set, for the tables that tarnwick builds itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Appends a structure of `type` and `handle` whose formatted area holds
// `formatted` from offset 4 on (the length byte follows from it), then the
// strings, each NUL-terminated, and the NUL that ends the set.
inline void AppendStructure(std::vector<uint8_t>& table, uint8_t type, uint16_t handle,
                            const std::vector<uint8_t>& formatted, const std::vector<std::string>& strings) {
  table.insert(table.end(), {type, static_cast<uint8_t>(4 + formatted.size()), static_cast<uint8_t>(handle),
                             static_cast<uint8_t>(handle >> 8)});
  table.insert(table.end(), formatted.begin(), formatted.end());
  for (const std::string& text : strings) {
    table.insert(table.end(), text.begin(), text.end());
    table.push_back(0);
  }
  if (strings.empty()) table.push_back(0);
  table.push_back(0);
}

}  // namespace tarnwick::cli
