#include "smbios/description/structure_decoding.h"

#include <algorithm>
#include <cstdio>

#include "smbios/description/field_description.h"
#include "smbios/reading/field_reader.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/description/structure_types.h"
#include "smbios/reading/uuid_text.h"

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
  return "undefined (" + Hex(value, width * 2) + "h)";
}

// A number of `width` bytes read as two's complement (probe readings).
int64_t SignedValue(uint64_t raw, uint8_t width) {
  if (width >= 8) return static_cast<int64_t>(raw);
  const uint64_t sign = uint64_t{1} << (width * 8 - 1);
  return static_cast<int64_t>((raw ^ sign) - sign);
}

// `value` / 10^`places` in decimals, trailing zeros dropped: 1200 mV, 3: "1.2".
std::string Decimal(int64_t value, int places) {
  int64_t scale = 1;
  for (int i = 0; i < places; ++i) scale *= 10;
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string text(value < 0 ? 1 : 0, '-');  // appended: g++ 12 warns falsely (-Wrestrict) on "-" + a temporary
  text += std::to_string(magnitude / static_cast<uint64_t>(scale));
  std::string fraction = std::to_string(magnitude % static_cast<uint64_t>(scale));
  fraction.insert(0, static_cast<size_t>(places) - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  return fraction.empty() ? text : text + "." + fraction;
}

struct Reading {
  Reading() = default;
  Reading(std::string reading) : text(std::move(reading)) {}  // NOLINT: a text alone reads as a Reading

  std::string text;
  std::vector<std::string> bits;
  bool has_size = false;
  uint64_t size = 0;
};

// A size in bytes, in the largest unit that holds it whole ("16 GB").
Reading Size(uint64_t bytes) {
  static constexpr const char* kUnits[] = {"bytes", "kB", "MB", "GB", "TB", "PB", "EB"};
  uint64_t value = bytes;
  size_t unit = 0;
  while (value >= 1024 && value % 1024 == 0 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  Reading reading(std::to_string(value) + " " + kUnits[unit]);
  reading.has_size = true;
  reading.size = bytes;
  return reading;
}

// `count` units of 2^`shift` bytes; the count alone where the bytes would
// not fit 64 bits.
Reading SizeIn(uint64_t count, int shift, const char* unit) {
  if (shift >= 64 || count > (~uint64_t{0} >> shift)) return {std::to_string(count) + " " + unit};
  return Size(count << shift);
}

std::string WithUnit(const std::string& number, const char* unit) { return number + " " + unit; }

// 7.2.1: the UUID in the byte order of the table's version; all 00h and
// all FFh are no UUID.
std::string UuidText(const uint8_t* bytes, SmbiosVersion version) {
  if (std::all_of(bytes, bytes + kUuidBytes, [](uint8_t b) { return b == 0x00; })) return "Not present";
  if (std::all_of(bytes, bytes + kUuidBytes, [](uint8_t b) { return b == 0xFF; })) {
    return "Not present, can be set";
  }
  char16_t wide[kUuidTextLength + 1];
  WriteUuid(wide, bytes, version);
  return std::string(wide, wide + kUuidTextLength);
}

// 7.10.5: what a Slot ID means depends on the Slot Type at 05h: for MCA,
// EISA and the PCI family (PCI, AGP, PCI-X, PCI Express) the slot's number
// in 09h, with 0Ah set to 0; for PCMCIA the adapter (09h) and the socket
// (0Ah); for any other type nothing.
std::string SlotIdText(uint64_t raw, const Structure& structure) {
  uint64_t slot_type = 0;
  ReadField(structure.bytes, 0x05, 1, &slot_type);
  const uint64_t low = raw & 0xFF;
  const uint64_t high = raw >> 8;
  if (slot_type == 0x07) return "Adapter " + std::to_string(low) + ", Socket " + std::to_string(high);
  const bool numbered = (slot_type >= 0x04 && slot_type <= 0x06) || (slot_type >= 0x0E && slot_type <= 0x13) ||
                        (slot_type >= 0x1F && slot_type <= 0x25) || (slot_type >= 0xA5 && slot_type <= 0xC4);
  if (!numbered) return "not defined for this slot type (" + Hex(raw, 4) + "h)";
  if (high == 0) return std::to_string(low);
  return std::to_string(low) + ", offset 0Ah " + OutOfSpecification(high, 1);
}

// 7.5: FFFFh in a cache handle means no cache of the level in 2.1 and 2.2
// (the row's word), and no Cache Information structure provided from 2.3
// on; a table of unknown version (a major below 2) reads as current, as
// the UUID does.
const char* CacheHandleWord(const Word& word, SmbiosVersion stated) {
  const SmbiosVersion version = EffectiveVersion(stated);
  const bool from_2_3 = version.major < 2 || version.major > 2 || version.minor >= 3;
  return from_2_3 ? "Not Provided" : word.text;
}

// The names of the bits set in `raw`, and what sets a reserved bit.
Reading FlagsReading(const FieldRow& row, uint64_t raw) {
  Reading reading;
  for (const BitName& bit : row.bit_names) {
    if (bit.bit < 64 && (raw >> bit.bit & 1) != 0) reading.bits.emplace_back(bit.text);
  }
  if ((raw & row.bits) != 0) reading.bits.push_back("reserved bits set, " + OutOfSpecification(raw & row.bits, row.width));
  for (const std::string& bit : reading.bits) reading.text += (reading.text.empty() ? "" : ", ") + bit;
  if (reading.text.empty()) reading.text = "None";
  return reading;
}

// A number by its unit, the encoded ones as the section the unit names
// defines them. `structure` gives what a unit reads beside the field.
Reading UnitReading(const FieldRow& row, uint64_t raw, const Structure& structure) {
  const int64_t value = row.is_signed ? SignedValue(raw, row.width) : static_cast<int64_t>(raw);
  const std::string number = row.is_signed ? std::to_string(value) : std::to_string(raw);
  switch (row.unit) {
    case Unit::kNone:
    case Unit::kUuid:
    case Unit::kCacheHandle:
      return {number};
    case Unit::kBytes:
      return Size(raw);
    case Unit::kKilobytes:
      return SizeIn(raw, 10, "kB");
    case Unit::kMegabytes:
      return SizeIn(raw, 20, "MB");
    case Unit::kGigabytes:
      return SizeIn(raw, 30, "GB");
    case Unit::kMegahertz:
      return {WithUnit(number, "MHz")};
    case Unit::kMegatransfers:
      return {WithUnit(number, "MT/s")};
    case Unit::kNanoseconds:
      return {WithUnit(number, "ns")};
    case Unit::kMillivolts:
      return {WithUnit(Decimal(value, 3), "V")};
    case Unit::kMilliamps:
      return {WithUnit(Decimal(value, 3), "A")};
    case Unit::kWatts:
      return {WithUnit(number, "W")};
    case Unit::kMilliwattHours: {  // 7.23: times the multiplier at 15h, where the structure holds one
      uint64_t multiplier = 1;
      if (ReadField(structure.bytes, 0x15, 1, &multiplier) && multiplier == 0) multiplier = 1;
      return {WithUnit(std::to_string(raw * multiplier), "mWh")};
    }
    case Unit::kTenthDegrees:
      return {WithUnit(Decimal(value, 1), "\xB0" "C")};  // ISO 8859-1, as firmware text is read
    case Unit::kThousandthDegrees:
      return {WithUnit(Decimal(value, 3), "\xB0" "C")};
    case Unit::kTenthMillivolts:
      return {WithUnit(Decimal(value, 1), "mV")};
    case Unit::kTenthMilliamps:
      return {WithUnit(Decimal(value, 1), "mA")};
    case Unit::kHundredthPercent:
      return {Decimal(value, 2) + "%"};
    case Unit::kHundredthMillimetres:
      return {WithUnit(Decimal(value, 2), "mm")};
    case Unit::kRackUnits:
      return {WithUnit(number, "U")};
    case Unit::kRpm:
      return {WithUnit(number, "rpm")};
    case Unit::kSeconds:
      return {WithUnit(number, "s")};
    case Unit::kMinutes:
      return {WithUnit(number, "min")};
    case Unit::kPercent:
      return {number + "%"};
    case Unit::kHexBytes: {  // the bytes as they lie, lowest first, as dmidecode prints an ID
      std::string bytes;
      for (uint32_t i = 0; i < row.width; ++i) {
        if (i != 0) bytes += ' ';
        bytes += Hex(raw >> (8 * i) & 0xFF, 2);
      }
      return {bytes};
    }
    case Unit::kBits:
      return {WithUnit(number, "bits")};
    case Unit::kRanks:
      return {WithUnit(number, raw == 1 ? "rank" : "ranks")};
    case Unit::kSlotId:
      return {SlotIdText(raw, structure)};
    case Unit::kSegment:  // 7.1: the segment of the BIOS's start, a paragraph of 16 bytes each
      return {"0x" + Hex(raw * 16, 5)};
    case Unit::kRomSize:  // 7.1: 64K * (n + 1)
      return Size((raw + 1) * 64 * 1024);
    case Unit::kExtendedRomSize:  // 7.1: bits 13-0 in the unit bits 15-14 name (MB, GB)
      return SizeIn(raw & 0x3FFF, (raw >> 14) == 0 ? 20 : 30, (raw >> 14) == 0 ? "MB" : "GB");
    case Unit::kProcessorVoltage:  // 7.5.4: bit 7 set, tenths of a volt in bits 6-0
      if ((raw & 0x80) != 0) return {WithUnit(Decimal(static_cast<int64_t>(raw & 0x7F), 1), "V")};
      return FlagsReading(row, raw);
    case Unit::kCacheSize:  // 7.8: bit 15 the granularity, 1K or 64K
      return SizeIn(raw & 0x7FFF, (raw & 0x8000) != 0 ? 16 : 10, "kB");
    case Unit::kCacheSize2:  // 7.8: bit 31 the granularity
      return SizeIn(raw & 0x7FFFFFFF, (raw & 0x80000000) != 0 ? 16 : 10, "kB");
    case Unit::kMemorySize:  // 7.18.5: bit 15 set, kilobytes; clear, megabytes
      return SizeIn(raw & 0x7FFF, (raw & 0x8000) != 0 ? 10 : 20, "MB");
    case Unit::kModuleSize: {  // 7.7.2: 2^n MB in bits 6-0, bit 7 a double-bank connection
      const uint64_t n = raw & 0x7F;
      if (n == 0x7D) return {"Not determinable"};
      if (n == 0x7E) return {"Module installed, not enabled"};
      if (n == 0x7F) return {"Not installed"};
      Reading reading = SizeIn(1, static_cast<int>(n) + 20, "MB");
      reading.text += (raw & 0x80) != 0 ? " (double-bank connection)" : " (single-bank connection)";
      return reading;
    }
    case Unit::kTwoToTheMegabytes:  // 7.6: 2^n MB
      return SizeIn(1, static_cast<int>(raw) + 20, "MB");
  }
  return {number};
}

// The reading of a number, an enumeration, flags or a handle by its row.
Reading NumberReading(const FieldRow& row, uint64_t raw, const Structure& structure, const StructureDecoder& decoder) {
  const Word* word = WordOf(row, raw);
  switch (row.kind) {
    case FieldKind::kEnum:
      if (word == nullptr) return {OutOfSpecification(FieldValue(row, raw), row.width)};
      return row.unit == Unit::kNone ? Reading{word->text} : UnitReading(row, raw, structure);
    case FieldKind::kFlags:
      if (row.unit == Unit::kNone) return FlagsReading(row, raw);
      if (row.unit == Unit::kProcessorVoltage) return UnitReading(row, raw, structure);
      if ((raw & row.bits) != 0) return {OutOfSpecification(raw, row.width)};
      return UnitReading(row, raw, structure);
    case FieldKind::kHandle: {
      const std::string handle = "0x" + Hex(raw, 4);
      if (word != nullptr) {
        const char* text = row.unit == Unit::kCacheHandle ? CacheHandleWord(*word, decoder.Version()) : word->text;
        return {handle + " (" + text + ")"};
      }
      const std::optional<uint8_t> type = decoder.TypeOfHandle(static_cast<uint16_t>(raw));
      return {handle + " (" + (type ? StructureTypeNameOrKind(*type) : "no structure has this handle") + ")"};
    }
    case FieldKind::kZero:
      return {raw == 0 ? "0" : OutOfSpecification(raw, row.width)};
    case FieldKind::kNumber: {
      if (word != nullptr) return {word->text};
      const uint64_t value = FieldValue(row, raw);  // in its bits, shifted down
      if (value < row.least || value > row.most) return {OutOfSpecification(value, row.width)};
      return UnitReading(row, value, structure);
    }
    case FieldKind::kString:
      break;
  }
  return {std::to_string(raw)};
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

// A field wider than a number: a UUID, or reserved bytes.
void ReadBytes(const FieldRow& row, const uint8_t* at, SmbiosVersion version, DecodedField* field) {
  field->stored = DecodedField::Stored::kBytes;
  bool zero = true;
  for (uint32_t i = 0; i < row.width; ++i) {
    field->bytes += Hex(at[i], 2);
    zero = zero && at[i] == 0;
  }
  if (row.unit == Unit::kUuid && row.width == kUuidBytes) {
    field->text = UuidText(at, version);
  } else if (row.kind == FieldKind::kZero) {
    field->text = zero ? "0" : "undefined (" + field->bytes + ")";
  } else {
    field->text = field->bytes;
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
  const std::span<const VariablePart> parts = VariablePartsOf(structure.type);
  const std::vector<PlacedField> placed_fields = PlacedFields(structure.bytes);
  for (size_t i = 0; i < placed_fields.size();) {
    const PlacedField& placed = placed_fields[i];
    const FieldRow& row = *placed.row;
    // Rows that read bit fields of one field (the same name at the same
    // place) make one field.
    size_t end = i + 1;
    while (end < placed_fields.size() && placed_fields[end].offset == placed.offset &&
           placed_fields[end].item == placed.item && std::string_view(placed_fields[end].row->name) == row.name &&
           placed_fields[end].row->width == row.width) {
      ++end;
    }
    DecodedField field;
    field.name = row.name;
    field.offset = placed.offset;
    field.width = row.width;
    if (row.anchor == Anchor::kItem) {
      field.item = placed.item + 1;
      if (row.part < parts.size()) field.part = parts[row.part].name;
    }
    uint64_t raw = 0;
    if (row.width <= 8) ReadField(structure.bytes, placed.offset, row.width, &raw);
    if (row.kind == FieldKind::kString) {
      ReadString(structure, raw, &field);
    } else if (row.width > 8) {
      ReadBytes(row, structure.bytes + placed.offset, version_, &field);
    } else {
      field.number = raw;
      for (size_t j = i; j < end; ++j) {
        Reading reading = NumberReading(*placed_fields[j].row, raw, structure, *this);
        // Flags with no bit set add nothing beside the other parts.
        if (end - i > 1 && placed_fields[j].row->kind == FieldKind::kFlags && reading.bits.empty()) continue;
        field.parts.push_back(std::move(reading.text));
        field.bits.insert(field.bits.end(), reading.bits.begin(), reading.bits.end());
        field.has_size = field.has_size || reading.has_size;
        field.size_bytes = reading.has_size ? reading.size : field.size_bytes;
      }
      for (const std::string& text : field.parts) field.text += (field.text.empty() ? "" : ", ") + text;
      if (end - i == 1) field.parts.clear();
    }
    fields.push_back(std::move(field));
    i = end;
  }
  return fields;
}

}  // namespace tarnwick
