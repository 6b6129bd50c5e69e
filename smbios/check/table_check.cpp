#include "smbios/check/table_check.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

#include "smbios/check/checked_version.h"
#include "smbios/check/structure_links.h"
#include "smbios/description/field_description.h"
#include "smbios/reading/entry_point.h"
#include "smbios/reading/placeholders.h"
#include "smbios/description/structure_types.h"
#include "smbios/reading/uuid_text.h"

namespace tarnwick {
namespace {

static_assert(kKinds == static_cast<size_t>(FindingKind::kStructureCountMismatch) + 1);
constexpr bool KindsInOrder() {
  for (size_t i = 0; i < std::size(kFindingKinds); ++i) {
    if (static_cast<size_t>(kFindingKinds[i].kind) != i) return false;
  }
  return true;
}
static_assert(KindsInOrder(), "one row per kind, in the enum's order");

// DSP0134 7.18.5, 7.18.6: a Memory Device's Size 0000h is an empty
// socket; Firmware Version belongs to non-volatile modules (Memory
// Technology 04h-07h).
constexpr uint32_t kDeviceSize = 0x0C;
constexpr uint32_t kMemoryTechnology = 0x28;
constexpr uint32_t kFirmwareVersion = 0x2B;

class Checker {
 public:
  Checker(const Structure& structure, const CheckedVersion& version, FindingSink* sink)
      : s_(structure), version_(version), sink_(sink) {}

  Finding Make(FindingKind kind, uint32_t offset, const char* field, uint64_t found, uint64_t expected = 0) const {
    Finding finding = version_.Stamp(s_, kind);
    finding.offset = static_cast<int32_t>(offset);
    finding.field = field;
    finding.found = found;
    finding.expected = expected;
    return finding;
  }

  void Add(FindingKind kind, uint32_t offset, const char* field, uint64_t found = 0, uint64_t expected = 0) {
    sink_->Take(Make(kind, offset, field, found, expected));
  }

  void AddText(FindingKind kind, uint32_t offset, const char* field, std::string_view text, uint64_t found = 0) {
    Finding finding = Make(kind, offset, field, found);
    finding.text = text;
    sink_->Take(finding);
  }

  void Length() {
    const uint16_t version = version_.ForType(s_.type);
    const uint32_t required = RequiredLength(s_.bytes, version);
    if (s_.length < required) {
      Add(FindingKind::kShortForVersion, 1, "Length", s_.length, required);
      return;
    }
    if (!version_.stated) return;
    const uint32_t defined = DefinedLength(s_.bytes, version);
    if (defined != 0 && s_.length > defined) Add(FindingKind::kLongForVersion, 1, "Length", s_.length, defined);
  }

  // A string number at `offset`: past the set, or a placeholder where the
  // part it describes is there to be described.
  void StringNumber(uint32_t offset, const char* field) {
    const uint64_t number = Read(offset);
    if (number == 0) return;
    if (number > s_.strings.size()) {
      Add(FindingKind::kStringBeyondSet, offset, field, number, s_.strings.size());
      return;
    }
    const std::string_view text = s_.strings[number - 1];
    if (IsPlaceholderString(text) && !StatesAbsence(text) && PartPresent(offset)) {
      AddText(FindingKind::kPlaceholderText, offset, field, text);
    }
  }

  void Row(const PlacedField& field) {
    const FieldRow& row = *field.row;
    const uint32_t offset = field.offset;
    if (row.kind == FieldKind::kString) return StringNumber(offset, row.name);
    if (row.kind == FieldKind::kHandle) return;  // across structures
    if (row.kind == FieldKind::kZero) {
      for (uint32_t at = offset; at < offset + row.width; ++at) {
        if (Read(at) != 0) return void(Add(FindingKind::kReservedNonzero, at, row.name, Read(at)));
      }
      return;
    }
    const std::optional<uint64_t> read = s_.Field(offset, row.width);
    if (!read || ValueDefined(row, *read)) return;
    const uint64_t value = *read;
    if (row.kind == FieldKind::kFlags) {
      Add(FindingKind::kReservedBits, offset, row.name, value, row.bits);
    } else {
      Add(FindingKind::kOutOfRange, offset, row.name, FieldValue(row, value));
    }
  }

  // The rules that join fields.
  void Joined() {
    switch (s_.type) {
      case 1: return Uuid();
      case 3: return ContainedElements();
      case 4: return SocketType();
      case 9: return SlotNumbers();
      case 11: return CountedStrings("String");
      case 12: return CountedStrings("Option");
      case 13: return CountedStrings("Installable Language");
      case 19: return AddressRange(0x0F);
      case 20: return AddressRange(0x13);
      case 23: return BootOptions();
      default: return;
    }
  }

 private:
  // A field that the length byte was seen to hold; 0 past it.
  uint64_t Read(uint32_t offset, uint32_t width = 1) const { return s_.Field(offset, width).value_or(0); }

  // Whether the part whose string lies at `offset` is there: not a
  // Memory Device's strings in an empty socket, nor its Firmware Version
  // unless the module is non-volatile.
  bool PartPresent(uint32_t offset) const {
    if (s_.type != 17) return true;
    if (s_.length >= kDeviceSize + 2 && Read(kDeviceSize, 2) == 0) return false;
    if (offset != kFirmwareVersion) return true;
    const uint64_t technology = Read(kMemoryTechnology);
    return technology >= 0x04 && technology <= 0x07;
  }

  // DSP0134 7.2.1: 16 bytes at 08h; all FFh is "not present in the system,
  // but it can be set", all 00h "not present": no rule broken.
  void Uuid() {
    if (s_.length < 0x18) return;
    const uint8_t* uuid = s_.bytes + 0x08;
    const std::string_view bytes(reinterpret_cast<const char*>(uuid), 16);
    if (IsUnsetUuid(uuid)) {
      AddText(FindingKind::kUuidNotPresent, 0x08, "UUID", bytes, uuid[0]);
    } else if (IsPlaceholderUuid(uuid)) {
      AddText(FindingKind::kPlaceholderUuid, 0x08, "UUID", bytes);
    }
  }

  // DSP0134 7.4.4: a record's type byte names a baseboard type (7.3.2)
  // or, with bit 7 set, a structure type.
  void ContainedElements() {
    if (s_.length < 0x15) return;
    const PartSpan span = SpanOf(s_.bytes, 0);
    if (span.end > s_.length) {
      Add(FindingKind::kElementsPastLength, 0x13, "Contained Element Count", span.end, s_.length);
      return;
    }
    const FieldRow* board_type = FindFieldRow(kBaseboardType, 0x0D);
    for (uint32_t i = 0; i < span.count; ++i) {
      const std::optional<PartItem> item = ItemOf(s_.bytes, 0, i);
      if (!item || item->size < 3) return;
      const auto element = static_cast<uint8_t>(Read(item->offset));
      const bool defined = (element & 0x80) != 0 ? StructureTypeName(element & 0x7F) != nullptr
                                                 : WordOf(*board_type, element) != nullptr;
      if (!defined) Add(FindingKind::kOutOfRange, item->offset, "Contained Element Type", element);
    }
  }

  // DSP0134 7.5.5: upgrade FFh points to the Socket Type string at 32h.
  void SocketType() {
    if (s_.Field(0x19) != 0xFF) return;
    if (s_.Field(0x32).value_or(0) == 0) Add(FindingKind::kSocketTypeMissing, 0x32, "Socket Type");
  }

  // DSP0134 7.10.8: a slot that is not PCI, AGP, PCI-X, PCI Express or
  // their kin (M.2, MXM, OCP, CXL) has FFh in segment, bus and device.
  void SlotNumbers() {
    if (s_.length < 0x11) return;
    const uint64_t slot = Read(0x05);
    const bool pci = slot == 0x06 || (slot >= 0x0E && slot <= 0x28) || slot == 0x30 || (slot >= 0xA5 && slot <= 0xC6);
    if (pci) return;
    if (Read(0x0D, 2) != 0xFFFF) Add(FindingKind::kSlotAddress, 0x0D, "Segment Group Number", Read(0x0D, 2), 0xFFFF);
    if (Read(0x0F) != 0xFF) Add(FindingKind::kSlotAddress, 0x0F, "Bus Number", Read(0x0F), 0xFF);
    if (Read(0x10) != 0xFF) Add(FindingKind::kSlotAddress, 0x10, "Device/Function Number", Read(0x10), 0xFF);
  }

  // DSP0134 7.12-7.14: the count at 04h names strings 1 to n.
  void CountedStrings(const char* field) {
    if (s_.length < 0x05) return;
    const uint64_t count = Read(0x04);
    if (count > s_.strings.size()) Add(FindingKind::kStringBeyondSet, 0x04, field, count, s_.strings.size());
    for (size_t i = 0; i < std::min<size_t>(count, s_.strings.size()); ++i) {
      const std::string_view text = s_.strings[i];
      if (IsPlaceholderString(text) && !StatesAbsence(text)) AddText(FindingKind::kPlaceholderText, 0x04, field, text);
    }
  }

  // DSP0134 7.20, 7.21: kilobyte addresses at 04h and 08h, or with
  // FFFF FFFFh there byte addresses at `extended` and 8 bytes on. The end
  // is the range's last kilobyte or byte: only an end below the start
  // leaves it empty.
  void AddressRange(uint32_t extended) {
    if (s_.length < 0x0C) return;
    const uint64_t start = Read(0x04, 4);
    if (start == 0xFFFFFFFF && s_.length >= extended + 16) {
      const uint64_t first = Read(extended, 8);
      const uint64_t last = Read(extended + 8, 8);
      if (last < first) Add(FindingKind::kAddressRange, extended + 8, "Extended Ending Address", last, first);
    } else if (Read(0x08, 4) < start) {
      Add(FindingKind::kAddressRange, 0x08, "Ending Address", Read(0x08, 4), start);
    }
  }

  // DSP0134 7.24: with a watchdog timer (bit 5), the boot options in bits
  // 1-2 and 3-4 are 01b-11b; 00b is reserved.
  void BootOptions() {
    const uint64_t capabilities = Read(0x04);
    if ((capabilities & 0x20) == 0) return;
    if ((capabilities & 0x06) == 0 || (capabilities & 0x18) == 0) {
      Add(FindingKind::kOutOfRange, 0x04, "Capabilities", capabilities);
    }
  }

  const Structure& s_;
  const CheckedVersion& version_;
  FindingSink* sink_;
};

// Where the walk stopped short of an end-of-table structure: a length byte
// below 4, or a string-set that does not close inside the table. A header's
// length names the table's bytes; after the end-of-table structure they
// should all be used (an entry point's length is checked with it).
void CheckWalkEnd(const TableModel& model, bool header, FindingSink* sink) {
  const TableWalk& walk = model.walk;
  const uint8_t* table = model.table.data();
  const size_t size = model.table.size();
  Finding finding;
  if (walk.end == WalkEnd::kEndOfTable) {
    if (!header || walk.end_offset == size) return;
    finding.kind = FindingKind::kTableLengthMismatch;
    finding.found = walk.end_offset;
    finding.expected = size;
    sink->Take(finding);
    return;
  }
  if (walk.end == WalkEnd::kNotValid) {
    const uint8_t* next = table + walk.end_offset;
    finding.kind = FindingKind::kPastTableEnd;
    finding.type = next[0];
    finding.position = walk.end_offset;
    if (walk.end_offset + 1 < size && next[1] < 4) {
      finding.kind = FindingKind::kLengthBelowHeader;
      finding.offset = 1;
      finding.field = "Length";
      finding.found = next[1];
    }
    if (walk.end_offset + 4 <= size) finding.handle = StructureHandle(next);
    sink->Take(finding);
  }
  Finding no_end;
  no_end.kind = FindingKind::kNoEndOfTable;
  sink->Take(no_end);
}

// DSP0134 2.1 gave the "_SM_" length as 1Eh, and firmware of that time
// writes it.
constexpr uint8_t kSmbios21EntryPointLength = 0x1E;
constexpr uint8_t kSmbios3Reserved = 0x0B;       // DSP0134 5.2.2

void CheckEntryPoint(const EntryPointBytes& bytes, const EntryPoint& entry, const TableWalk& walk, FindingSink* sink) {
  const EntryPointLayout& fields = *LayoutOf(entry.kind);
  const auto add = [&](FindingKind kind, uint8_t offset, const char* name, uint64_t found, uint64_t expected) {
    Finding finding;
    finding.kind = kind;
    finding.offset = offset;
    finding.field = name;
    finding.found = found;
    finding.expected = expected;
    finding.in_entry_point = true;
    sink->Take(finding);
  };
  if (!entry.complete) {
    return add(FindingKind::kEntryPointLength, fields.length.offset, "Entry Point Length", bytes.size, fields.size);
  }
  for (uint8_t i = 0; i < entry.checksum_count; ++i) {
    const ChecksumRange range = entry.checksums[i];
    const size_t covered = range.from < bytes.size ? std::min<size_t>(range.length, bytes.size - range.from) : 0;
    const uint8_t sum = ByteSum(bytes.bytes + range.from, covered);
    const EntryPointField& byte = fields.checksums[i].byte;
    if (sum != 0) add(FindingKind::kEntryPointChecksum, byte.offset, byte.name, sum, 0);
  }
  const bool length_known = entry.length == fields.size ||
                            (entry.kind == EntryPointKind::kSmbios2 && entry.length == kSmbios21EntryPointLength);
  if (fields.length.width != 0 && !length_known) {
    add(FindingKind::kEntryPointLength, fields.length.offset, fields.length.name, entry.length, fields.size);
  }
  if (fields.legacy_part != 0 && std::memcmp(bytes.bytes + fields.legacy_part, "_DMI_", 5) != 0) {
    add(FindingKind::kIntermediateAnchor, fields.legacy_part, "Intermediate Anchor String", 0, 0);
  }
  if (entry.kind == EntryPointKind::kSmbios3 && bytes.bytes[kSmbios3Reserved] != 0) {
    add(FindingKind::kReservedNonzero, kSmbios3Reserved, "Reserved", bytes.bytes[kSmbios3Reserved], 0);
  }
  // An SMBIOS 3 entry point gives a maximum size, which the table may fall
  // short of; the others give the table's length.
  const bool maximum = entry.kind == EntryPointKind::kSmbios3;
  // A dump whose table begins past its end is refused as it is read
  // (smbios/model/dump_layout.h): no table is there to check.
  if (entry.table_address == 0) {
    add(FindingKind::kTableAddressZero, fields.table_address.offset, fields.table_address.name, 0, 0);
  } else if (bytes.file_size != 0 && !maximum && entry.table_address + entry.table_length > bytes.file_size) {
    add(FindingKind::kLengthPastFile, fields.table_length.offset, fields.table_length.name, entry.table_length,
        bytes.file_size - entry.table_address);
  } else if (maximum ? walk.end_offset > entry.table_length : walk.end_offset != entry.table_length) {
    add(FindingKind::kTableLengthMismatch, fields.table_length.offset, fields.table_length.name, walk.end_offset,
        entry.table_length);
  }
  if (fields.structure_count.width != 0 && entry.structure_count != walk.structures) {
    add(FindingKind::kStructureCountMismatch, fields.structure_count.offset, fields.structure_count.name,
        walk.structures, entry.structure_count);
  }
}

// The walk's end where it is at fault: not where an entry point counts
// its structures (DSP0134 5.2.1, Number of SMBIOS Structures) and the walk
// met every one of them; what lies past them is the table length's fault,
// found once with the entry point.
bool WalkEndAtFault(const TableWalk& walk, const std::optional<EntryPoint>& entry) {
  const bool counted = entry && entry->complete && LayoutOf(entry->kind)->structure_count.width != 0;
  return !(counted && walk.end != WalkEnd::kEndOfTable && entry->structure_count == walk.structures);
}

// Collects what it is handed.
struct Collected final : FindingSink {
  std::vector<Finding> findings;
  void Take(const Finding& finding) override { findings.push_back(finding); }
};

}  // namespace

void CheckModel(const TableModel& model, FindingSink* sink) {
  if (model.structures.empty()) return;
  const CheckedVersion version = CheckedVersion::Of(model);
  for (const Structure& structure : model.structures) {
    Checker checker(structure, version, sink);
    checker.Length();
    for (const PlacedField& field : PlacedFields(structure.bytes)) checker.Row(field);
    checker.Joined();
  }
  CheckAcrossStructures(model, version, sink);
  if (WalkEndAtFault(model.walk, model.entry_point)) {
    CheckWalkEnd(model, model.header.has_value() && !model.entry_point, sink);
  }
  if (model.entry_point) CheckEntryPoint(model.entry_point_bytes, *model.entry_point, model.walk, sink);
}

std::vector<Finding> CheckModel(const TableModel& model) {
  Collected collected;
  CheckModel(model, &collected);
  return std::move(collected.findings);
}

}  // namespace tarnwick
