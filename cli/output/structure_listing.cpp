#include "cli/output/structure_listing.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include "cli/output/text_quoting.h"
#include "smbios/model/inventory_records.h"

namespace tarnwick::cli {

std::string StructureListing(const TableModel& model, std::span<const uint8_t> types) {
  std::string out;
  for (const auto& [i, structure, type_name] : ListedStructures(model, types)) {
    char head[64];
    std::snprintf(head, sizeof head, "%4u  type %3u  length %3u  handle 0x%04X  ", static_cast<unsigned>(i),
                  structure.type, structure.length, static_cast<unsigned>(structure.handle));
    out += head;
    out += type_name;
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
  for (const auto& [i, structure, type_name] : ListedStructures(model, types)) {
    Json strings = Json::array();
    for (const std::string_view text : structure.strings) strings.push_back(FirmwareText(text));
    const Json object = {{"position", i},
                         {"at", structure.position},
                         {"type", structure.type},
                         {"type_name", type_name},
                         {"length", structure.length},
                         {"handle", structure.handle},
                         {"strings", strings}};
    out += (out.empty() ? "[\n  " : ",\n  ") + object.dump();
  }
  return out.empty() ? "[]\n" : out + "\n]\n";
}

}  // namespace tarnwick::cli
