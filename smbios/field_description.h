// One description of the fields of every structure type DSP0134 3.9
// defines (0-46, 126, 127): where each lies, its width, its DSP0134 name,
// the version that added it and what a valid value is. The table's checks
// read it; so does anything that names a field.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

namespace tarnwick {

// What a valid value of a field is.
enum class Validity : uint8_t {
  kAny,       // a number, every value valid
  kString,    // a string number: 0 (none) or a string of the set
  kValues,    // one of `allowed` (in the bits `bits` when set, shifted down)
  kReserved,  // the bits `bits` are reserved and must be 0
  kZero,      // a reserved field: must be 0
  kHandle,    // another structure's handle: of a type in `bits` (bit n: type n; 0: any type), or one
              // of `allowed`, the values the field defines for "none"
};

// The `bits` of a handle row: the types it may point at.
constexpr uint64_t Types(std::initializer_list<uint8_t> types) {
  uint64_t mask = 0;
  for (const uint8_t type : types) mask |= uint64_t{1} << type;
  return mask;
}
inline constexpr uint64_t kAnyType = 0;

// Whether a handle row of `bits` may point at a structure of `type`.
constexpr bool PointsAt(uint64_t bits, uint8_t type) { return bits == kAnyType || (type < 64 && (bits >> type & 1) != 0); }

// Where an offset counts from: the structure's start, or the end of a
// variable part (DSP0134 7.4: the chassis's n contained elements of m bytes
// from 15h; 7.10: a slot's n peer groups of 5 bytes from 13h).
enum class Place : uint8_t { kFixed, kAfterElements, kAfterPeerGroups };

struct ValueRange {
  uint32_t low;
  uint32_t high;
};

struct Allowed {
  ValueRange ranges[3];
  uint8_t count;
};

// The version that added a field, as 0xMMmm; 0: a field without a version,
// which no length requirement includes.
using Since = uint16_t;

struct FieldRow {
  uint8_t type;
  uint8_t offset;  // from the place's start
  uint8_t width;   // bytes
  Since since;
  const char* name;
  Validity validity;
  uint64_t bits;  // kValues: the bits that hold the value (0: all); kReserved: the reserved ones
  Allowed allowed;
  Place place;
};

// Every row, by type, then offset.
std::span<const FieldRow> FieldRows();

// The rows of `type` (none for an OEM or unknown type).
std::span<const FieldRow> FieldRowsOf(uint8_t type);

// The offset of `row` in `structure` (its formatted area), from its place;
// false when the variable part it follows is not inside the formatted area.
bool FieldOffset(const FieldRow& row, const uint8_t* structure, uint32_t* offset);

// The first version that defines `type`, as 0xMMmm: that of its earliest
// row; 0 for a type without rows.
uint16_t FirstVersionOf(uint8_t type);

// The length the version requires of `structure`: the end of the last field
// that a version up to `version` (0xMMmm) added; 0 for a type without rows.
// An unknown version (0) requires the fields of the type's first version.
uint32_t RequiredLength(const uint8_t* structure, uint16_t version);

// The length that `version` defines for `structure`: the end of its last
// field up to `version` or without a version, 0 when the type has a part
// of its own length (type 40, 42, 44) or no rows.
uint32_t DefinedLength(const uint8_t* structure, uint16_t version);

}  // namespace tarnwick
