#include "smbios/check/structure_links.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "smbios/description/field_description.h"
#include "smbios/reading/field_reader.h"

namespace tarnwick {
namespace {

constexpr uint32_t kNoStructure = UINT32_MAX;
constexpr uint32_t kHandles = 0x10000;
constexpr uint8_t kGroupAssociationsType = 14;

// The types that DSP0134 2.3 and later require (6.2).
constexpr uint8_t kRequiredTypes[] = {0, 1, 3, 4, 7, 9, 16, 17, 19, 32};
constexpr uint16_t kRequiredSince = 0x0203;

// A mapped range in bytes, its first and last byte (DSP0134 7.20, 7.21:
// kilobyte addresses at 04h and 08h, or with FFFF FFFFh there byte
// addresses at `extended` and 8 bytes on); none when the structure is too
// short or the range ends below its start (a finding of its own).
struct MappedRange {
  uint64_t first;
  uint64_t last;
  uint32_t offset;  // of the field that starts it
};

std::optional<MappedRange> RangeOf(const Structure& s) {
  const uint32_t extended = s.type == 19 ? 0x0F : 0x13;
  uint64_t start = 0, end = 0;
  if (!ReadField(s.bytes, 0x04, 4, &start) || !ReadField(s.bytes, 0x08, 4, &end)) return {};
  MappedRange range{start * 1024, end * 1024 + 1023, 0x04};
  if (start == 0xFFFFFFFF) {
    if (s.length < extended + 16) return {};
    ReadField(s.bytes, extended, 8, &range.first);
    ReadField(s.bytes, extended + 8, 8, &range.last);
    range.offset = extended;
  }
  if (range.last < range.first) return {};
  return range;
}

class Links {
 public:
  Links(const TableModel& model, const CheckedVersion& version, FindingSink* sink)
      : structures_(model.structures), version_(version), sink_(sink), first_(kHandles, kNoStructure) {}

  void Run() {
    Handles();
    for (const Structure& s : structures_) HandleFields(s);
    DeviceCounts();
    Overlaps();
    Required();
  }

 private:
  void Add(const Structure& s, FindingKind kind, uint32_t offset, const char* field, uint64_t found,
           uint64_t expected = 0, const Structure* other = nullptr) {
    Finding finding = version_.Stamp(s, kind);
    finding.offset = static_cast<int32_t>(offset);
    finding.field = field;
    finding.found = found;
    finding.expected = expected;
    if (other != nullptr) {
      finding.other_handle = other->handle;
      finding.other_type = other->type;
      finding.other_position = other->position;
    }
    sink_->Take(finding);
  }

  uint64_t Read(const Structure& s, uint32_t offset, uint32_t width) const {
    uint64_t value = 0;
    ReadField(s.bytes, offset, width, &value);
    return value;
  }

  // The first structure that bears `handle`.
  const Structure* Resolve(uint64_t handle) const {
    const uint32_t at = handle < kHandles ? first_[handle] : kNoStructure;
    return at == kNoStructure ? nullptr : &structures_[at];
  }

  // DSP0134 6.1.2: a handle is unique; FFFEh and FFFFh stand for "none" in
  // the fields that point at structures, so no structure bears them, and
  // from 2.1 on the whole range FF00h-FFFFh is reserved to DSP0134.
  void Handles() {
    const bool reserved_range = version_.stated && version_.version >= 0x0201;
    for (uint32_t i = 0; i < structures_.size(); ++i) {
      const Structure& s = structures_[i];
      if (s.handle >= (reserved_range ? 0xFF00 : 0xFFFE)) Add(s, FindingKind::kHandleReserved, 0x02, "Handle", s.handle);
      if (first_[s.handle] == kNoStructure) {
        first_[s.handle] = i;
      } else {
        Add(s, FindingKind::kHandleReused, 0x02, "Handle", s.handle, 0, &structures_[first_[s.handle]]);
      }
    }
  }

  // Every handle field, of the fixed fields and of the items of variable
  // parts, points at a structure of a type its row allows, or holds a value
  // its row names ("none"). A field of a later version than the table's
  // holds no handle yet.
  void HandleFields(const Structure& s) {
    const uint16_t version = version_.ForType(s.type);
    for (const PlacedField& field : PlacedFields(s.bytes)) {
      const FieldRow& row = *field.row;
      if (row.kind != FieldKind::kHandle || (row.since != kNoVersion && row.since > version)) continue;
      const uint64_t value = Read(s, field.offset, 2);
      if (WordOf(row, value) != nullptr) continue;
      const Structure* target = Resolve(value);
      if (target == nullptr) {
        Add(s, FindingKind::kHandleDangling, field.offset, row.name, value);
        continue;
      }
      // An item of Group Associations names its member's type (7.15).
      const bool allowed = s.type == kGroupAssociationsType ? target->type == s.bytes[field.offset - 1]
                                                            : row.targets.Has(target->type);
      if (!allowed) Add(s, FindingKind::kHandleWrongType, field.offset, row.name, value, 0, target);
    }
  }

  // DSP0134 7.17: Number of Memory Devices counts the array's sockets, and
  // each socket, populated or not, is a Memory Device that names the array
  // (7.18, Physical Memory Array Handle at 04h).
  void DeviceCounts() {
    std::vector<uint32_t> named(structures_.size(), 0);
    for (const Structure& s : structures_) {
      if (s.type != 17 || s.length < 0x06) continue;
      const Structure* array = Resolve(Read(s, 0x04, 2));
      if (array != nullptr && array->type == 16) ++named[static_cast<size_t>(array - structures_.data())];
    }
    for (size_t i = 0; i < structures_.size(); ++i) {
      const Structure& s = structures_[i];
      if (s.type != 16 || s.length < 0x0F || &s != Resolve(s.handle)) continue;
      const uint64_t counted = Read(s, 0x0D, 2);
      if (counted != named[i]) Add(s, FindingKind::kDeviceCount, 0x0D, "Number of Memory Devices", counted, named[i]);
    }
  }

  // DSP0134 7.20: the arrays' mapped ranges do not overlap; 7.21: a
  // device's mapped range lies within the array mapping it names.
  void Overlaps() {
    struct Mapped {
      MappedRange range;
      const Structure* s;
    };
    std::vector<Mapped> arrays;
    for (const Structure& s : structures_) {
      if (s.type != 19) continue;
      if (const std::optional<MappedRange> range = RangeOf(s)) arrays.push_back({*range, &s});
    }
    std::sort(arrays.begin(), arrays.end(), [](const Mapped& a, const Mapped& b) {
      return a.range.first != b.range.first ? a.range.first < b.range.first : a.s->position < b.s->position;
    });
    const Mapped* reach = nullptr;  // the range that reaches furthest so far
    for (const Mapped& mapped : arrays) {
      if (reach != nullptr && mapped.range.first <= reach->range.last) {
        Add(*mapped.s, FindingKind::kRangeOverlap, mapped.range.offset, "Starting Address", mapped.range.first,
            mapped.range.last, reach->s);
      }
      if (reach == nullptr || mapped.range.last > reach->range.last) reach = &mapped;
    }
    for (const Structure& s : structures_) {
      if (s.type != 20 || s.length < 0x10) continue;
      const std::optional<MappedRange> range = RangeOf(s);
      const Structure* array = Resolve(Read(s, 0x0E, 2));
      if (!range || array == nullptr || array->type != 19) continue;
      const std::optional<MappedRange> within = RangeOf(*array);
      if (within && (range->first < within->first || range->last > within->last)) {
        Add(s, FindingKind::kRangeOutside, range->offset, "Starting Address", range->first, range->last, array);
      }
    }
  }

  // DSP0134 6.2: from 2.3 on, a table holds a structure of each required
  // type. A table that states no version is held to none.
  void Required() {
    if (!version_.stated || version_.version < kRequiredSince) return;
    bool present[256] = {};
    for (const Structure& s : structures_) present[s.type] = true;
    for (const uint8_t type : kRequiredTypes) {
      if (present[type]) continue;
      Finding finding;
      finding.kind = FindingKind::kStructureMissing;
      finding.type = type;
      finding.version = version_.version;
      finding.version_stated = true;
      sink_->Take(finding);
    }
  }

  const std::vector<Structure>& structures_;
  const CheckedVersion& version_;
  FindingSink* sink_;
  std::vector<uint32_t> first_;  // by handle: the index of the first structure that bears it
};

}  // namespace

void CheckAcrossStructures(const TableModel& model, const CheckedVersion& version, FindingSink* sink) {
  Links(model, version, sink).Run();
}

}  // namespace tarnwick
