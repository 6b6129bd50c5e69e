// What in a table is wrong by DSP0134: every structure's fields against
// their description (smbios/description/field_description.h), the walk's end and the
// entry point. Findings are data; the program that shows them words them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "smbios/table_model.h"

namespace tarnwick {

enum class FindingKind : uint8_t {
  kLengthBelowHeader,      // a length byte below 4 (`found`): the walk stops there
  kPastTableEnd,           // a structure's string-set does not close inside the table
  kNoEndOfTable,           // the walk ended without an end-of-table structure
  kTableLengthMismatch,    // `expected` bytes announced, the structures use `found`
  kShortForVersion,        // length `found`, below the `expected` that the version requires
  kLongForVersion,         // length `found`, past the `expected` that the version defines (a note)
  kStringBeyondSet,        // string number (or count) `found`, the set holds `expected` strings
  kPlaceholderText,        // `text` is a placeholder
  kPlaceholderUuid,        // the UUID's bytes are a placeholder
  kOutOfRange,             // value `found` is none that DSP0134 defines for the field
  kReservedBits,           // the field `found` sets reserved bits `expected`
  kReservedNonzero,        // a reserved field (or byte) holds `found`, not 0
  kAddressRange,           // an ending address `found` below its starting address `expected`
  kSlotAddress,            // a slot of a type without PCI numbers gives `found`, not `expected` (FFh, FFFFh)
  kElementsPastLength,     // contained elements end at `found`, past the length `expected`
  kSocketTypeMissing,      // Processor Upgrade FFh without a Socket Type string
  // The entry point's (DSP0134 5.2); `offset` is the field's in it.
  kEntryPointChecksum,     // the bytes it covers sum to `found`, not 0
  kEntryPointLength,       // length byte `found`, not the `expected` of its kind
  kIntermediateAnchor,     // "_SM_" without "_DMI_" at 10h
  kTableAddressZero,       // the table's address is 0
  kLengthPastFile,         // the table's length `found`; the file holds `expected` from its address
  kStructureCountMismatch, // `expected` structures announced, `found` in the table
};

// Each kind once, in the enum's order: the words that name it wherever a
// finding is shown (stable, for scripts to match) and whether it is a
// defect, or a note that leaves the table sound.
struct FindingKindRow {
  FindingKind kind;
  const char* words;
  bool defect;
};

inline constexpr FindingKindRow kFindingKinds[] = {
    {FindingKind::kLengthBelowHeader, "length-below-header", true},
    {FindingKind::kPastTableEnd, "past-table-end", true},
    {FindingKind::kNoEndOfTable, "no-end-of-table", true},
    {FindingKind::kTableLengthMismatch, "table-length", true},
    {FindingKind::kShortForVersion, "short-structure", true},
    {FindingKind::kLongForVersion, "long-structure", false},
    {FindingKind::kStringBeyondSet, "string-past-set", true},
    {FindingKind::kPlaceholderText, "placeholder-text", true},
    {FindingKind::kPlaceholderUuid, "placeholder-uuid", true},
    {FindingKind::kOutOfRange, "out-of-range", true},
    {FindingKind::kReservedBits, "reserved-bits", true},
    {FindingKind::kReservedNonzero, "reserved-nonzero", true},
    {FindingKind::kAddressRange, "address-range", true},
    {FindingKind::kSlotAddress, "slot-address", true},
    {FindingKind::kElementsPastLength, "elements-past-length", true},
    {FindingKind::kSocketTypeMissing, "socket-type-missing", true},
    {FindingKind::kEntryPointChecksum, "checksum", true},
    {FindingKind::kEntryPointLength, "entry-point-length", true},
    {FindingKind::kIntermediateAnchor, "intermediate-anchor", true},
    {FindingKind::kTableAddressZero, "table-address-zero", true},
    {FindingKind::kLengthPastFile, "length-past-file", true},
    {FindingKind::kStructureCountMismatch, "structure-count", true},
};

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
  std::string_view text;  // the string found, inside the held table
  bool in_entry_point = false;
  std::span<const uint8_t> bytes;  // the UUID found, inside the held table
  // The table's version as stated (0.0: bare): a length finding names it,
  // and a UUID's byte order follows it.
  SmbiosVersion version{};
};

// Checks `model`: every structure in table order, then the walk's end, then
// the entry point the table came with, when it has one.
std::vector<Finding> CheckModel(const TableModel& model);

}  // namespace tarnwick
