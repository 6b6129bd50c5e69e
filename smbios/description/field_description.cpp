#include "smbios/description/field_description.h"

#include <algorithm>
#include <bit>
#include <iterator>

#include "smbios/description/type_groups.h"
#include "smbios/reading/field_reader.h"

namespace tarnwick {
namespace {

template <class Row>
std::span<const Row> OfType(std::span<const Row> rows, uint8_t type) {
  const auto first = std::find_if(rows.begin(), rows.end(), [type](const Row& r) { return r.type == type; });
  const auto last = std::find_if(first, rows.end(), [type](const Row& r) { return r.type != type; });
  return {first, last};
}

// Each type's rows, parts and stated lengths, found once.
struct TypeIndex {
  std::span<const FieldRow> rows[128];
  std::span<const VariablePart> parts[128];
  std::span<const StatedLength> lengths[128];
};

const TypeIndex& Index() {
  static const TypeIndex index = [] {
    TypeIndex built{};
    for (const TypeGroup& group : {PlatformTypes(), DeviceTypes(), MemoryTypes(), ManagementTypes()}) {
      for (unsigned type = group.first; type <= group.last; ++type) {
        built.rows[type] = OfType(group.rows, static_cast<uint8_t>(type));
        built.parts[type] = OfType(group.parts, static_cast<uint8_t>(type));
        built.lengths[type] = OfType(group.lengths, static_cast<uint8_t>(type));
      }
    }
    return built;
  }();
  return index;
}

bool Applies(Since since, uint16_t version) { return since != kNoVersion && since <= version; }

// The type's first version among its rows.
uint16_t FirstVersion(std::span<const FieldRow> rows) {
  uint16_t first = 0xFFFF;
  for (const FieldRow& row : rows) {
    if (row.since != kNoVersion) first = std::min(first, row.since);
  }
  return first;
}

// A byte of the structure, when the formatted area holds it.
bool ByteAt(const uint8_t* structure, uint32_t offset, uint32_t* value) {
  uint64_t byte = 0;
  if (!ReadField(structure, offset, 1, &byte)) return false;
  *value = static_cast<uint32_t>(byte);
  return true;
}

// Where the part's offsets count from: the structure's start, or the end of
// the part it follows.
bool BaseOf(const uint8_t* structure, const VariablePart& part, uint32_t* base) {
  *base = 0;
  if (part.start_after == kNoPart) return true;
  const PartSpan before = SpanOf(structure, part.start_after);
  *base = before.end;
  return before.known;
}

}  // namespace

std::span<const FieldRow> FieldRowsOf(uint8_t type) {
  return type < 128 ? Index().rows[type] : std::span<const FieldRow>();
}

const FieldRow* FindFieldRow(uint8_t type, uint8_t offset) {
  for (const FieldRow& row : FieldRowsOf(type)) {
    if (row.anchor == Anchor::kStart && row.offset == offset) return &row;
  }
  return nullptr;
}

std::span<const VariablePart> VariablePartsOf(uint8_t type) {
  return type < 128 ? Index().parts[type] : std::span<const VariablePart>();
}

PartSpan SpanOf(const uint8_t* structure, uint8_t index) {
  PartSpan span;
  const std::span<const VariablePart> parts = VariablePartsOf(structure[0]);
  if (index >= parts.size()) return span;
  const VariablePart& part = parts[index];
  uint32_t base = 0;
  if (!BaseOf(structure, part, &base)) return span;
  span.start = base + part.start;
  const uint32_t length = structure[1];
  switch (part.count) {
    case PartCount::kAt:
      if (!ByteAt(structure, base + part.count_at, &span.count)) return span;
      break;
    case PartCount::kOne:
      span.count = 1;
      break;
    case PartCount::kFills:
      span.count = 0;  // counted below, by the items that fit
      break;
  }
  if (part.size != ItemSize::kInItem) {
    uint32_t size = part.item_size;
    if (part.size == ItemSize::kAt && !ByteAt(structure, base + part.size_at, &size)) return span;
    if (part.count == PartCount::kFills) {
      span.count = size != 0 && length > span.start ? (length - span.start) / size : 0;
    }
    span.end = span.start + span.count * size;
    span.known = true;
    return span;
  }
  // Items that carry their own size: walk them.
  uint32_t at = span.start;
  for (uint32_t i = 0; part.count == PartCount::kFills || i < span.count; ++i) {
    if (part.count == PartCount::kFills && at >= length) {
      span.count = i;
      break;
    }
    uint32_t size = 0;
    if (!ByteAt(structure, at + part.size_at, &size)) return span;
    size += part.item_size;
    if (size == 0) return span;  // an item of no bytes would never end
    at += size;
  }
  span.end = at;
  span.known = true;
  return span;
}

namespace {

// Calls `visit(index, item)` for the part's items in order while it returns
// true; stops at an item whose size lies past the formatted area.
template <class Visit>
void ForEachItem(const uint8_t* structure, uint8_t index, Visit visit) {
  const std::span<const VariablePart> parts = VariablePartsOf(structure[0]);
  if (index >= parts.size()) return;
  const VariablePart& part = parts[index];
  const PartSpan span = SpanOf(structure, index);
  if (part.size != ItemSize::kInItem) {
    if (!span.known || span.count == 0) return;
    const uint32_t size = (span.end - span.start) / span.count;
    for (uint32_t i = 0; i < span.count && visit(i, PartItem{span.start + i * size, size}); ++i) {
    }
    return;
  }
  uint32_t at = span.start;
  for (uint32_t i = 0; i < span.count; ++i) {
    uint32_t size = 0;
    if (!ByteAt(structure, at + part.size_at, &size) || size + part.item_size == 0) return;
    size += part.item_size;
    if (!visit(i, PartItem{at, size})) return;
    at += size;
  }
}

}  // namespace

std::optional<PartItem> ItemOf(const uint8_t* structure, uint8_t index, uint32_t item) {
  const std::span<const VariablePart> parts = VariablePartsOf(structure[0]);
  if (index < parts.size() && parts[index].size != ItemSize::kInItem) {  // items of one size: no walk
    const PartSpan span = SpanOf(structure, index);
    if (!span.known || item >= span.count) return std::nullopt;
    const uint32_t size = (span.end - span.start) / span.count;
    return PartItem{span.start + item * size, size};
  }
  std::optional<PartItem> found;
  ForEachItem(structure, index, [&](uint32_t i, PartItem at) {
    if (i == item) found = at;
    return i < item;
  });
  return found;
}

bool FieldOffset(const FieldRow& row, const uint8_t* structure, uint32_t* offset, uint32_t item) {
  switch (row.anchor) {
    case Anchor::kStart:
      *offset = row.offset;
      return true;
    case Anchor::kItem: {
      const std::optional<PartItem> at = ItemOf(structure, row.part, item);
      if (!at) return false;
      *offset = at->offset + row.offset;
      return true;
    }
    case Anchor::kAfterPart: {
      const PartSpan span = SpanOf(structure, row.part);
      *offset = span.end + row.offset;
      return span.known;
    }
  }
  return false;
}

std::vector<PlacedField> PlacedFields(const uint8_t* structure) {
  std::vector<PlacedField> fields;
  const uint32_t length = structure[1];
  const std::span<const FieldRow> rows = FieldRowsOf(structure[0]);
  fields.reserve(rows.size());
  const auto place = [&](const FieldRow& row, uint32_t offset, uint32_t item) {
    if (offset + row.width <= length) fields.push_back({&row, offset, item});
  };
  for (const FieldRow& row : rows) {
    uint32_t offset = 0;
    if (row.anchor != Anchor::kItem && FieldOffset(row, structure, &offset)) place(row, offset, 0);
  }
  // Each part walked once; an item too short for a field holds none of it.
  for (uint8_t part = 0; part < VariablePartsOf(structure[0]).size(); ++part) {
    ForEachItem(structure, part, [&](uint32_t index, PartItem item) {
      if (item.offset >= length) return false;
      for (const FieldRow& row : rows) {
        if (row.anchor == Anchor::kItem && row.part == part && row.offset + row.width <= item.size) {
          place(row, item.offset + row.offset, index);
        }
      }
      return true;
    });
  }
  std::stable_sort(fields.begin(), fields.end(),
                   [](const PlacedField& a, const PlacedField& b) { return a.offset < b.offset; });
  return fields;
}

uint64_t FieldValue(const FieldRow& row, uint64_t raw) {
  const bool in_bits = row.kind == FieldKind::kEnum || row.kind == FieldKind::kNumber;
  return in_bits && row.bits != 0 ? (raw & row.bits) >> std::countr_zero(row.bits) : raw;
}

const Word* WordOf(const FieldRow& row, uint64_t raw) {
  const uint64_t value = FieldValue(row, raw);
  const auto word = std::find_if(row.words.begin(), row.words.end(),
                                 [value](const Word& w) { return value >= w.value && value <= w.Last(); });
  return word != row.words.end() ? &*word : nullptr;
}

bool ValueDefined(const FieldRow& row, uint64_t raw) {
  switch (row.kind) {
    case FieldKind::kEnum:
      return WordOf(row, raw) != nullptr;
    case FieldKind::kFlags:
      return (raw & row.bits) == 0;
    case FieldKind::kZero:
      return raw == 0;
    case FieldKind::kNumber: {
      const uint64_t value = FieldValue(row, raw);
      return (value >= row.least && value <= row.most) || WordOf(row, raw) != nullptr;
    }
    case FieldKind::kString:
    case FieldKind::kHandle:
      return true;
  }
  return true;
}

uint16_t FirstVersionOf(uint8_t type) {
  const std::span<const FieldRow> rows = FieldRowsOf(type);
  return rows.empty() ? 0 : FirstVersion(rows);
}

uint32_t RequiredLength(const uint8_t* structure, uint16_t version) {
  const std::span<const FieldRow> rows = FieldRowsOf(structure[0]);
  if (rows.empty()) return 0;
  if (version == 0) version = FirstVersion(rows);
  const StatedLength* stated = nullptr;
  for (const StatedLength& length : Index().lengths[structure[0]]) {
    if (length.since <= version) stated = &length;
  }
  if (stated != nullptr) return stated->minimum;
  uint32_t required = 4;
  for (const FieldRow& row : rows) {
    uint32_t offset = 0;
    if (row.anchor != Anchor::kItem && Applies(row.since, version) && FieldOffset(row, structure, &offset)) {
      required = std::max(required, offset + row.width);
    }
  }
  return required;
}

uint32_t DefinedLength(const uint8_t* structure, uint16_t version) {
  const uint8_t type = structure[0];
  const std::span<const FieldRow> rows = FieldRowsOf(type);
  // An inactive structure keeps the length of the one it stands for (7.48).
  if ((rows.empty() && type != 127) || type == 126) return 0;
  uint32_t defined = 4;
  for (const FieldRow& row : rows) {
    uint32_t offset = 0;
    if (row.anchor != Anchor::kItem && (row.since == kNoVersion || row.since <= version) &&
        FieldOffset(row, structure, &offset)) {
      defined = std::max(defined, offset + row.width);
    }
  }
  const std::span<const VariablePart> parts = VariablePartsOf(type);
  for (uint8_t i = 0; i < parts.size(); ++i) {
    // A part that fills the structure leaves no length defined, whatever the version.
    if (parts[i].count == PartCount::kFills) return 0;
    if (parts[i].since != kNoVersion && parts[i].since > version) continue;
    const PartSpan span = SpanOf(structure, i);
    if (!span.known) return 0;
    defined = std::max(defined, span.end);
  }
  return defined;
}

}  // namespace tarnwick
