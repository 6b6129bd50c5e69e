#include "tests/support/table_builder.h"

#include "platform/firmware_seam.h"
#include "plugin/exports.h"

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
  Bytes out = {0,
               major,
               minor,
               0,
               static_cast<uint8_t>(size),
               static_cast<uint8_t>(size >> 8),
               static_cast<uint8_t>(size >> 16),
               static_cast<uint8_t>(size >> 24)};
  out.insert(out.end(), table.begin(), table.end());
  return out;
}

int LoadTable(const Bytes& bytes) {
  static Bytes held;
  ShutdownPlugin(0);
  held = bytes;
  platform::InstallMemoryFirmware(held.data(), static_cast<uint32_t>(held.size()));
  return InitializePlugin();
}

}  // namespace tarnwick::testing
