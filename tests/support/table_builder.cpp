#include "tests/support/table_builder.h"

#include <algorithm>

namespace tarnwick::testing {

Bytes Formatted(size_t length, std::initializer_list<std::pair<uint32_t, uint8_t>> at) {
  Bytes bytes(length >= 4 ? length - 4 : 0, 0);
  for (auto [offset, value] : at) bytes.at(offset - 4) = value;
  return bytes;
}

Bytes BareTable(const std::vector<Structure>& structures) {
  Bytes out;
  for (const Structure& s : structures) {
    out.push_back(s.type);
    out.push_back(static_cast<uint8_t>(s.length >= 0 ? s.length : 4 + s.formatted.size()));
    out.push_back(static_cast<uint8_t>(s.handle));
    out.push_back(static_cast<uint8_t>(s.handle >> 8));
    out.insert(out.end(), s.formatted.begin(), s.formatted.end());
    for (const std::string& text : s.strings) {
      out.insert(out.end(), text.begin(), text.end());
      out.push_back(0);
    }
    if (s.strings.empty()) out.push_back(0);
    out.push_back(0);
  }
  return out;
}

Bytes RawTable(const Bytes& table, uint8_t major, uint8_t minor) {
  const auto size = static_cast<uint32_t>(table.size());
  Bytes out(8 + table.size(), 0);
  out[1] = major;
  out[2] = minor;
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(size >> (8 * i));
  std::copy(table.begin(), table.end(), out.begin() + 8);
  return out;
}

Bytes FieldTable(const std::vector<FieldStructure>& structures) {
  std::vector<Structure> built;
  built.reserve(structures.size());
  for (const FieldStructure& s : structures) {
    Bytes area(s.length > 4 ? s.length - 4 : 0, 0);
    for (auto [offset, value] : s.fields) {
      if (offset >= 4 && offset < s.length) area[offset - 4] = value;
    }
    built.push_back({s.type, s.handle, std::move(area), s.strings, s.length});
  }
  return BareTable(built);
}

}  // namespace tarnwick::testing
