#include "smbios/model/table_build.h"

#include "smbios/description/structure_types.h"

namespace tarnwick {

void AppendStructure(Bytes& table, uint8_t type, uint16_t handle, const Bytes& formatted,
                     const std::vector<std::string>& strings) {
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

void AppendEndOfTable(Bytes& table, uint16_t handle) { AppendStructure(table, kEndOfTableType, handle, {}, {}); }

Bytes InServiceLayout(uint8_t major, uint8_t minor, uint8_t revision, const Bytes& table) {
  Bytes service(kServiceHeaderSize);
  WriteServiceHeader({major, minor, revision, static_cast<uint32_t>(table.size())}, service.data());
  service.insert(service.end(), table.begin(), table.end());
  return service;
}

}  // namespace tarnwick
