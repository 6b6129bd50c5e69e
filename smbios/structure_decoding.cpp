#include "smbios/structure_decoding.h"

#include <algorithm>
#include <cstdio>

#include "smbios/field_reader.h"
#include "smbios/structure_types.h"
#include "smbios/uuid_text.h"

namespace tarnwick {
namespace {

std::string Hex(uint64_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

// A value DSP0134 does not define, by its stored digits, so that it is
// never read as another value's word.
std::string OutOfSpecification(uint64_t value, uint8_t width) {
  return "out of specification (" + Hex(value, width * 2) + "h)";
}

bool Allows(const FieldRow& row, uint64_t value) {
  for (uint8_t i = 0; i < row.allowed.count; ++i) {
    if (value >= row.allowed.ranges[i].low && value <= row.allowed.ranges[i].high) return true;
  }
  return false;
}

// The bits of `row` in `stored`, shifted down; all of it when the row names none.
uint64_t BitsOf(const FieldRow& row, uint64_t stored) {
  if (row.bits == 0) return stored;
  uint64_t value = stored & row.bits;
  for (uint64_t mask = row.bits; (mask & 1) == 0; mask >>= 1) value >>= 1;
  return value;
}

// A string field (DSP0134 6.1.3): 0 selects none; a number past the set
// selects nothing either, and says so.
void ReadString(const Structure& structure, uint64_t number, DecodedField* field) {
  field->number = number;
  if (const auto text = structure.String(static_cast<uint32_t>(number))) {
    field->stored = DecodedField::Stored::kString;
    field->string = *text;
    field->text = std::string(*text);
  } else {
    field->stored = DecodedField::Stored::kNoString;
    field->text = number == 0 ? "Not Specified" : "string " + std::to_string(number) + " is past the string set";
  }
}

// The reading of a number by its row.
std::string NumberText(const FieldRow& row, uint64_t stored) {
  switch (row.validity) {
    case Validity::kValues: {
      const uint64_t value = BitsOf(row, stored);
      if (!Allows(row, value)) return OutOfSpecification(value, row.width);
      return std::to_string(value);
    }
    case Validity::kReserved:
      return Hex(stored, row.width * 2) + "h";
    default:
      return std::to_string(stored);
  }
}

}  // namespace

StructureDecoder::StructureDecoder(const TableModel& model) : version_(model.version.value_or(SmbiosVersion{0, 0})) {
  handles_.reserve(model.structures.size());
  for (const Structure& structure : model.structures) handles_.emplace_back(structure.handle, structure.type);
  // Stable: of structures that share a handle, the first in the table stays first.
  std::stable_sort(handles_.begin(), handles_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::optional<uint8_t> StructureDecoder::TypeOfHandle(uint16_t handle) const {
  const auto found = std::lower_bound(handles_.begin(), handles_.end(), handle,
                                      [](const auto& entry, uint16_t key) { return entry.first < key; });
  if (found == handles_.end() || found->first != handle) return std::nullopt;
  return found->second;
}

std::vector<DecodedField> StructureDecoder::Decode(const Structure& structure) const {
  std::vector<DecodedField> fields;
  for (const FieldRow& row : FieldRowsOf(structure.type)) {
    uint32_t offset = 0;
    uint64_t stored = 0;
    if (!FieldOffset(row, structure.bytes, &offset)) continue;
    if (offset + row.width > structure.length) continue;
    const bool wide = row.width > 8;
    if (!wide) ReadField(structure.bytes, offset, row.width, &stored);
    // Rows that read parts of one field (its bits) make one field.
    if (!fields.empty() && fields.back().offset == offset && std::string_view(fields.back().name) == row.name) {
      fields.back().text += ", " + NumberText(row, stored);
      continue;
    }
    DecodedField field;
    field.name = row.name;
    field.offset = offset;
    field.width = row.width;
    if (row.validity == Validity::kString) {
      ReadString(structure, stored, &field);
    } else if (wide) {
      field.stored = DecodedField::Stored::kBytes;
      for (uint32_t i = 0; i < row.width; ++i) field.bytes += Hex(structure.bytes[offset + i], 2);
      field.text = field.bytes;
    } else {
      field.number = stored;
      field.text = NumberText(row, stored);
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

}  // namespace tarnwick
