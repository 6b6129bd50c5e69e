// What in a table is wrong by DSP0134: every structure's fields against
// their description (smbios/description/field_description.h), the walk's end and the
// entry point. Findings are data; the program that shows them words them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

#include "smbios/model/table_model.h"

namespace tarnwick {

enum class FindingKind : uint8_t {
  kLengthBelowHeader,      // a length byte below 4 (`found`): the walk stops there
  kPastTableEnd,           // a structure's string-set does not close inside the table
  kNoEndOfTable,           // the walk ended without an end-of-table structure
  kTableLengthMismatch,    // `expected` bytes announced, the structures use `found`
  kShortForVersion,        // length `found`, below the `expected` that `version` requires
  kLongForVersion,         // length `found`, past the `expected` that `version` defines (a note)
  kStringBeyondSet,        // string number (or count) `found`, the set holds `expected` strings
  kPlaceholderText,        // `text` is a placeholder
  kPlaceholderUuid,        // the UUID's bytes (`text`) are a placeholder
  kUuidNotPresent,         // the UUID is all 00h or all FFh (`found`): DSP0134 7.2.1's "not present"
  kOutOfRange,             // value `found` is none that DSP0134 defines for the field
  kReservedBits,           // the field `found` sets reserved bits `expected`
  kReservedNonzero,        // a reserved field (or byte) holds `found`, not 0
  kAddressRange,           // an ending address `found` below its starting address `expected`
  kSlotAddress,            // a slot of a type without PCI numbers gives `found`, not `expected` (FFh, FFFFh)
  kElementsPastLength,     // contained elements end at `found`, past the length `expected`
  kSocketTypeMissing,      // Processor Upgrade FFh without a Socket Type string
  // Across structures; `other` names the structure pointed at or overlapped.
  kHandleReused,           // the handle `found` is also the `other` structure's (6.1.2)
  kHandleReserved,         // the structure's own handle is FFFEh or FFFFh, or from 2.1 in FF00h-FFFDh (`found`)
  kHandleDangling,         // the handle field holds `found`, which no structure bears
  kHandleWrongType,        // the handle field names `other`, of a type the field does not allow
  kDeviceCount,            // the array counts `found` devices, `expected` name it (7.17, 7.18)
  kRangeOverlap,           // the mapped range [`found`, `expected`] overlaps `other`'s (7.20)
  kRangeOutside,           // the device's range [`found`, `expected`] is not within `other`'s (7.21)
  kStructureMissing,       // no structure of `type`, which `version` requires (6.2)
  // The entry point's (DSP0134 5.2); `offset` is the field's in it.
  kEntryPointChecksum,     // the bytes it covers sum to `found`, not 0
  kEntryPointLength,       // length byte `found`, not the `expected` of its kind
  kIntermediateAnchor,     // "_SM_" without "_DMI_" at 10h
  kTableAddressZero,       // the table's address is 0
  kLengthPastFile,         // the table's length `found`; the file holds `expected` from its address
  kStructureCountMismatch, // `expected` structures announced, `found` in the table
};

// How much a finding weighs: a defect breaks a rule of DSP0134; a value
// left unfilled is a template value its firmware's maker never replaced
// (no rule broken, but a fleet's inventory cannot use it); a note leaves
// the table sound.
enum class Severity : uint8_t { kDefect, kUnfilled, kNote };

inline constexpr const char* kSeverityWords[] = {"defect", "unfilled", "note"};
inline constexpr size_t kSeverities = 3;

// Each kind once, in the enum's order: the words that name it wherever a
// finding is shown (stable, for scripts to match) and its severity.
struct FindingKindRow {
  FindingKind kind;
  const char* words;
  Severity severity;
};

inline constexpr Severity kDefect = Severity::kDefect;
inline constexpr Severity kUnfilled = Severity::kUnfilled;
inline constexpr Severity kNote = Severity::kNote;

inline constexpr FindingKindRow kFindingKinds[] = {
    {FindingKind::kLengthBelowHeader, "length-below-header", kDefect},
    {FindingKind::kPastTableEnd, "past-table-end", kDefect},
    {FindingKind::kNoEndOfTable, "no-end-of-table", kDefect},
    {FindingKind::kTableLengthMismatch, "table-length", kDefect},
    {FindingKind::kShortForVersion, "short-structure", kDefect},
    {FindingKind::kLongForVersion, "long-structure", kNote},
    {FindingKind::kStringBeyondSet, "string-past-set", kDefect},
    {FindingKind::kPlaceholderText, "placeholder-text", kUnfilled},
    {FindingKind::kPlaceholderUuid, "placeholder-uuid", kUnfilled},
    {FindingKind::kUuidNotPresent, "uuid-not-present", kNote},
    {FindingKind::kOutOfRange, "out-of-range", kDefect},
    {FindingKind::kReservedBits, "reserved-bits", kDefect},
    {FindingKind::kReservedNonzero, "reserved-nonzero", kDefect},
    {FindingKind::kAddressRange, "address-range", kDefect},
    {FindingKind::kSlotAddress, "slot-address", kDefect},
    {FindingKind::kElementsPastLength, "elements-past-length", kDefect},
    {FindingKind::kSocketTypeMissing, "socket-type-missing", kDefect},
    {FindingKind::kHandleReused, "handle-reused", kDefect},
    {FindingKind::kHandleReserved, "handle-reserved", kDefect},
    {FindingKind::kHandleDangling, "handle-dangling", kDefect},
    {FindingKind::kHandleWrongType, "handle-wrong-type", kDefect},
    {FindingKind::kDeviceCount, "memory-device-count", kDefect},
    {FindingKind::kRangeOverlap, "range-overlap", kDefect},
    {FindingKind::kRangeOutside, "range-outside-array", kDefect},
    {FindingKind::kStructureMissing, "structure-missing", kDefect},
    {FindingKind::kEntryPointChecksum, "checksum", kDefect},
    {FindingKind::kEntryPointLength, "entry-point-length", kDefect},
    {FindingKind::kIntermediateAnchor, "intermediate-anchor", kDefect},
    {FindingKind::kTableAddressZero, "table-address-zero", kDefect},
    {FindingKind::kLengthPastFile, "length-past-file", kDefect},
    {FindingKind::kStructureCountMismatch, "structure-count", kDefect},
};

inline constexpr size_t kKinds = std::size(kFindingKinds);

inline const FindingKindRow& KindRow(FindingKind kind) { return kFindingKinds[static_cast<size_t>(kind)]; }

inline constexpr int32_t kNoValue = -1;

struct Finding {
  FindingKind kind{};
  int32_t handle = kNoValue;
  int32_t type = kNoValue;
  int32_t offset = kNoValue;       // of the field, from the structure's start
  const char* field = nullptr;  // its DSP0134 name
  uint64_t found = 0;
  uint64_t expected = 0;
  uint32_t position = 0;  // of the structure, from the table's start
  std::string_view text;  // the string found, or the UUID's 16 bytes, inside the held table
  bool in_entry_point = false;
  // The version whose rule the finding applies (0xMMmm, as firmware means
  // it), and whether the table states it: a table without a version is
  // held to a type's first version.
  uint16_t version = 0;
  bool version_stated = false;
  // The structure pointed at, reused or overlapped, across structures.
  int32_t other_handle = kNoValue;
  int32_t other_type = kNoValue;
  uint32_t other_position = 0;
};

// Takes each finding as the checks make it, so that nothing is held for
// the whole table: a writer words it at once, a tally counts it.
class FindingSink {
 public:
  virtual void Take(const Finding& finding) = 0;

 protected:
  ~FindingSink() = default;
};

// The findings counted by kind.
struct FindingCounts final : FindingSink {
  uint64_t by_kind[kKinds] = {};
  void Take(const Finding& finding) override { ++by_kind[static_cast<size_t>(finding.kind)]; }
  uint64_t Of(Severity severity) const {
    uint64_t sum = 0;
    for (size_t i = 0; i < kKinds; ++i) sum += kFindingKinds[i].severity == severity ? by_kind[i] : 0;
    return sum;
  }
  uint64_t Total() const {
    uint64_t sum = 0;
    for (const uint64_t count : by_kind) sum += count;
    return sum;
  }
};

// Checks `model` and hands each finding to `sink` as it is made: every
// structure in table order, then the rules across structures, then the
// walk's end, then the entry point the table came with, when it has one.
void CheckModel(const TableModel& model, FindingSink* sink);

// The same, collected: for a table whose findings are few (tests).
std::vector<Finding> CheckModel(const TableModel& model);

}  // namespace tarnwick
