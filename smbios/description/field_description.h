// One description of the fields of every structure type DSP0134 3.9
// defines (0-46, 126, 127): the rows (smbios/description/field_row.h), the
// variable parts, and what a structure's bytes hold by them. The table's
// checks read it; so do listing and decoding.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "smbios/description/field_row.h"

namespace tarnwick {

// Every row, by type, then as DSP0134 lists the fields.
std::span<const FieldRow> FieldRows();

// The rows of `type` (none for an OEM or unknown type).
std::span<const FieldRow> FieldRowsOf(uint8_t type);

// The row of `type` that starts at `offset` from the structure's start
// (the first when bit fields share it); null when none does.
const FieldRow* FindFieldRow(uint8_t type, uint8_t offset);

// The variable parts of `type`, in order; a row's `part` indexes them.
std::span<const VariablePart> VariablePartsOf(uint8_t type);

// Where a variable part lies in a structure (offsets from its start).
struct PartSpan {
  uint32_t start = 0;
  uint32_t count = 0;  // the items the part holds
  uint32_t end = 0;    // past its last item
  // False when a byte that gives the start, the count or an item's size
  // lies past the formatted area: then `end` is unknown (`count` may be).
  bool known = false;
};
PartSpan SpanOf(const uint8_t* structure, uint8_t part);

// Item `index` of a part: its offset and size; none past the count or
// where an earlier item's size lies past the formatted area.
struct PartItem {
  uint32_t offset;
  uint32_t size;
};
std::optional<PartItem> ItemOf(const uint8_t* structure, uint8_t part, uint32_t index);

// The offset of `row` in `structure` (for a row inside an item, in item
// `item`); false when the part it lies in or after is not laid out inside
// the formatted area.
bool FieldOffset(const FieldRow& row, const uint8_t* structure, uint32_t* offset, uint32_t item = 0);

// One field of one structure: its row, where it lies, and which item of its
// part it is in (0 outside the parts).
struct PlacedField {
  const FieldRow* row;
  uint32_t offset;
  uint32_t item;
};

// Every field that the formatted area of `structure` holds whole, in order
// of offset (the rows of an item repeated for each item).
std::vector<PlacedField> PlacedFields(const uint8_t* structure);

// The value of `row` in `raw` (its bits, shifted down, for a number or an
// enumeration in bits); the word DSP0134 gives it, or the special meaning of a number
// or handle; null when it has none (undefined for kEnum).
uint64_t FieldValue(const FieldRow& row, uint64_t raw);
const Word* WordOf(const FieldRow& row, uint64_t raw);

// Whether `raw` is a value DSP0134 defines for the row (see FieldKind).
bool ValueDefined(const FieldRow& row, uint64_t raw);

// The first version that defines `type`, as 0xMMmm: that of its earliest
// row; 0 for a type without rows.
uint16_t FirstVersionOf(uint8_t type);

// The length the version requires of `structure`: the minimum that DSP0134
// states for the version where it states one, else the end of the last
// field that a version up to `version` (0xMMmm) added; 0 for a type without
// rows. An unknown version (0) requires the fields of the type's first.
uint32_t RequiredLength(const uint8_t* structure, uint16_t version);

// The length that `version` defines for `structure`: the end of its last
// field up to `version` or without a version, and of its variable parts;
// 0 when a part fills the rest of the structure or the type has no rows.
uint32_t DefinedLength(const uint8_t* structure, uint16_t version);

}  // namespace tarnwick
