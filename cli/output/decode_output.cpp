#include "cli/output/decode_output.h"

#include <nlohmann/json.hpp>

#include "cli/output/text_quoting.h"
#include "smbios/description/structure_decoding.h"
#include "smbios/model/inventory_records.h"

namespace tarnwick::cli {
namespace {

std::string Heading(const ListedStructure& listed) {
  const Structure& structure = listed.structure;
  return Join("Handle 0x", HexDigits(structure.handle, 4), ", type ", std::to_string(structure.type), " (",
              listed.type_name, "), ", std::to_string(structure.length), " bytes, at 0x",
              HexDigits(structure.position, 4), "\n");
}

}  // namespace

std::string DecodeText(const TableModel& model, std::span<const uint8_t> types, const FieldShown& shown) {
  std::string out;
  bool first = true;
  const StructureDecoder decoder(model);
  for (const ListedStructure& listed : ListedStructures(model, types)) {
    const Structure& structure = listed.structure;
    out += first ? "" : "\n";
    first = false;
    out += Heading(listed);
    const DecodedField* previous = nullptr;
    for (const DecodedField& field : decoder.Decode(structure)) {
      if (shown && !shown(structure, field.offset)) continue;
      // An item of a variable part under a line of its own: "Contained Elements 2:".
      if (field.item != 0 && (previous == nullptr || previous->item != field.item || previous->part != field.part)) {
        out += Join("  ", field.part, " ", std::to_string(field.item), ":\n");
      }
      previous = &field;
      const std::string indent(field.item != 0 ? 4 : 2, ' ');
      if (field.bits.empty() || !field.parts.empty()) {
        out += Join(indent, field.name, ": ", LineString(field.text), "\n");
        continue;
      }
      out += Join(indent, field.name, ":\n");
      for (const std::string& bit : field.bits) out += Join(indent, "  ", LineString(bit), "\n");
    }
  }
  return out;
}

std::string DecodeJson(const TableModel& model, std::span<const uint8_t> types, const FieldShown& shown) {
  using Json = nlohmann::ordered_json;  // members in the order written
  std::string out;
  const StructureDecoder decoder(model);
  for (const ListedStructure& listed : ListedStructures(model, types)) {
    const Structure& structure = listed.structure;
    Json fields = Json::array();
    for (const DecodedField& field : decoder.Decode(structure)) {
      if (shown && !shown(structure, field.offset)) continue;
      Json value;
      switch (field.stored) {
        case DecodedField::Stored::kNumber: value = field.number; break;
        case DecodedField::Stored::kString: value = FirmwareText(field.string); break;
        case DecodedField::Stored::kNoString: value = nullptr; break;
        case DecodedField::Stored::kBytes: value = field.bytes; break;
      }
      Json object = {{"name", field.name}, {"offset", field.offset}, {"value", value}, {"text", FirmwareText(field.text)}};
      if (field.item != 0) {
        object["part"] = field.part;
        object["item"] = field.item;
      }
      if (!field.parts.empty()) {
        Json parts = Json::array();
        for (const std::string& part : field.parts) parts.push_back(FirmwareText(part));
        object["parts"] = std::move(parts);
      }
      if (!field.bits.empty()) object["bits"] = field.bits;  // names in ASCII
      if (field.has_size) object["bytes"] = field.size_bytes;
      fields.push_back(std::move(object));
    }
    Json strings = Json::array();
    for (const std::string_view text : structure.strings) strings.push_back(FirmwareText(text));
    const Json object = {{"handle", structure.handle},
                         {"type", structure.type},
                         {"name", listed.type_name},
                         {"at", structure.position},
                         {"length", structure.length},
                         {"fields", std::move(fields)},
                         {"strings", std::move(strings)}};
    out += (out.empty() ? "[\n  " : ",\n  ") + object.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
  return out.empty() ? "[]\n" : out + "\n]\n";
}

}  // namespace tarnwick::cli
