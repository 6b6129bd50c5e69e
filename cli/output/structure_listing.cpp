#include "cli/output/structure_listing.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

#include "cli/output/text_quoting.h"
#include "smbios/description/structure_types.h"
#include "smbios/model/table_model.h"

namespace tarnwick::cli {
namespace {

bool Listed(std::span<const uint8_t> types, uint8_t type) {
  return types.empty() || std::find(types.begin(), types.end(), type) != types.end();
}

}  // namespace

std::string StructureListing(const TableModel& model, std::span<const uint8_t> types) {
  std::string out;
  for (size_t i = 0; i < model.structures.size(); ++i) {
    const Structure& structure = model.structures[i];
    if (!Listed(types, structure.type)) continue;
    char head[64];
    std::snprintf(head, sizeof head, "%4u  type %3u  length %3u  handle 0x%04X  ", static_cast<unsigned>(i),
                  structure.type, structure.length, static_cast<unsigned>(structure.handle));
    out += head;
    out += StructureTypeNameOrKind(structure.type);
    for (size_t number = 1; number <= structure.strings.size(); ++number) {
      out += "  " + std::to_string(number) + ':' + ListingString(structure.strings[number - 1]);
    }
    out += '\n';
  }
  return out;
}

std::string StructureListingJson(const TableModel& model, std::span<const uint8_t> types) {
  using Json = nlohmann::ordered_json;  // members in the order written
  std::string out;
  for (size_t i = 0; i < model.structures.size(); ++i) {
    const Structure& structure = model.structures[i];
    if (!Listed(types, structure.type)) continue;
    Json strings = Json::array();
    for (const std::string_view text : structure.strings) strings.push_back(FirmwareText(text));
    const Json object = {{"position", i},
                         {"at", structure.position},
                         {"type", structure.type},
                         {"type_name", StructureTypeNameOrKind(structure.type)},
                         {"length", structure.length},
                         {"handle", structure.handle},
                         {"strings", strings}};
    out += (out.empty() ? "[\n  " : ",\n  ") + object.dump();
  }
  return out.empty() ? "[]\n" : out + "\n]\n";
}

}  // namespace tarnwick::cli
