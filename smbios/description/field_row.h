// The row that describes one field of one structure type (DSP0134 3.9,
// section 7): where it lies, its width, its DSP0134 name, the version that
// added it, what kind of value it holds and what that value means. Checking,
// listing and decoding all read these rows; nothing else states a field.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

namespace tarnwick {

// The version that added a field, as 0xMMmm; 0: a field without a version,
// which no length requirement includes.
using Since = uint16_t;
inline constexpr Since kNoVersion = 0;

// DSP0134's word for one value, or for the values first..last (an OEM
// range, say). A list of words is sorted by value; a value no word covers
// is undefined.
struct Word {
  uint64_t value;
  const char* text;
  uint64_t last = 0;  // 0: value alone

  constexpr uint64_t Last() const { return last > value ? last : value; }
};
using Words = std::span<const Word>;

// The name of one bit of a flags field, bit 0 the lowest of the field.
struct BitName {
  uint8_t bit;
  const char* text;
};
using BitNames = std::span<const BitName>;

// The structure types a handle field may point at (0-127).
struct TypeSet {
  uint64_t low = 0;   // types 0-63
  uint64_t high = 0;  // types 64-127

  constexpr bool Has(uint8_t type) const {
    return type < 64 ? (low >> type & 1) != 0 : type < 128 && (high >> (type - 64) & 1) != 0;
  }
  constexpr bool Empty() const { return low == 0 && high == 0; }
};
constexpr TypeSet Types(std::initializer_list<uint8_t> types) {
  TypeSet set;
  for (uint8_t type : types) {
    if (type < 64) set.low |= uint64_t{1} << type;
    else if (type < 128) set.high |= uint64_t{1} << (type - 64);
  }
  return set;
}

// What a field holds, and so what a valid value is.
enum class FieldKind : uint8_t {
  kNumber,  // a number; valid from `least` to `most`, and wherever `words` gives a special meaning
  kString,  // a string number: 0 (none) or a string of the set
  kEnum,    // one of `words` (in the bits `bits` when set, shifted down): valid where a word is
  kFlags,   // bits named by `bit_names`; the bits `bits` are reserved and must be 0
  kHandle,  // another structure's handle, of a type in `targets`, or a value `words` names ("none")
  kZero,    // a reserved field: must be 0
};

// How a number reads to a person. The plain units scale the number; the
// coded ones name the DSP0134 section that gives the encoding.
enum class Unit : uint8_t {
  kNone,
  kBytes,
  kKilobytes,
  kMegabytes,
  kGigabytes,
  kMegahertz,
  kMegatransfers,    // MT/s
  kNanoseconds,
  kMillivolts,
  kMilliamps,
  kWatts,            // 7.40: Max Power Capacity, in watts (the MIF's unit was milliwatts)
  kMilliwattHours,   // 7.23: Design Capacity, before its multiplier
  kTenthDegrees,     // 7.29: 1/10th degree C
  kThousandthDegrees,  // 7.29: Resolution, 1/1000th degree C
  kTenthMillivolts,  // 7.27: Resolution
  kTenthMilliamps,   // 7.30: Resolution
  kHundredthPercent, // 7.27, 7.29, 7.30: Accuracy
  kHundredthMillimetres,  // 7.10: Slot Pitch
  kRackUnits,        // 7.4: Height, Rack Height, in U (1.75 in)
  kRpm,              // 7.28: Nominal Speed
  kSeconds,
  kMinutes,
  kPercent,
  kBits,             // 7.18: Total Width, Data Width
  kUuid,             // 7.2.1: 16 bytes, the first three fields little-endian from 2.6
  kSegment,          // 7.1: a paragraph (16-byte) segment, the address is value * 16
  kRomSize,          // 7.1: 64K * (n + 1)
  kExtendedRomSize,  // 7.1: bits 13-0 a size, bits 15-14 its unit (MB, GB)
  kProcessorVoltage, // 7.5.4: bit 7 set, bits 6-0 tenths of a volt; clear, legacy voltage flags
  kCacheSize,        // 7.8: bits 14-0 a size, bit 15 its granularity (1K, 64K)
  kCacheSize2,       // 7.8: bits 30-0 a size, bit 31 its granularity (1K, 64K)
  kMemorySize,       // 7.18.5: bits 14-0 a size, bit 15 its unit (MB, KB); 7FFFh: Extended Size
  kModuleSize,       // 7.7.2: bits 6-0 2^n MB, bit 7 double-bank; 7Dh-7Fh special
  kTwoToTheMegabytes,// 7.6: Maximum Memory Module Size, 2^n MB
  kHexBytes,         // 7.5.3: an identifier, its bytes in stored order in hexadecimal
  kSlotId,           // 7.10.5: a slot number, or adapter and socket, by the Slot Type at 05h
  kRanks,            // 7.18: Attributes bits 3-0, the module's ranks
  kCacheHandle,      // 7.5: a handle whose FFFFh reads by the table's version
};

// Where a field lies: from the structure's start, inside each item of one of
// the type's variable parts, or past the end of one.
enum class Anchor : uint8_t { kStart, kItem, kAfterPart };

inline constexpr uint8_t kNoPart = 0xFF;

struct FieldRow {
  uint8_t type;
  uint8_t offset;  // from the anchor
  uint8_t width;   // bytes
  Since since;
  const char* name;  // DSP0134's
  FieldKind kind = FieldKind::kNumber;
  uint64_t bits = 0;  // kEnum, kNumber: the bits that hold the value (0: all); kFlags: the reserved bits
  Words words = {};   // kEnum: every defined value; kNumber, kHandle: values with a special meaning
  BitNames bit_names = {};  // kFlags
  Unit unit = Unit::kNone;
  TypeSet targets = {};  // kHandle
  uint64_t least = 0;           // kNumber: the smallest valid value
  uint64_t most = ~uint64_t{0};  // kNumber: the largest
  bool is_signed = false;  // two's complement (probe readings)
  Anchor anchor = Anchor::kStart;
  uint8_t part = kNoPart;  // kItem, kAfterPart: the variable part's index among its type's

  // The row with one more property, for tables that read as DSP0134 does.
  constexpr FieldRow InBits(uint64_t mask) const { FieldRow r = *this; r.bits = mask; return r; }
  constexpr FieldRow In(Unit u) const { FieldRow r = *this; r.unit = u; return r; }
  constexpr FieldRow Meaning(Words special) const { FieldRow r = *this; r.words = special; return r; }
  constexpr FieldRow Bits(BitNames names) const { FieldRow r = *this; r.bit_names = names; return r; }
  constexpr FieldRow Within(uint64_t low, uint64_t high) const {
    FieldRow r = *this;
    r.least = low;
    r.most = high;
    return r;
  }
  constexpr FieldRow Signed() const { FieldRow r = *this; r.is_signed = true; return r; }
  constexpr FieldRow InItem(uint8_t index) const { FieldRow r = *this; r.anchor = Anchor::kItem; r.part = index; return r; }
  constexpr FieldRow After(uint8_t index) const { FieldRow r = *this; r.anchor = Anchor::kAfterPart; r.part = index; return r; }
};

// A structure's part of variable size: items one after another from
// `start` (counted from the structure's start, or past the end of the part
// `start_after`), as many as the byte at `count_at` says, or as many as fill
// the formatted area, or one. An item's size is fixed, or stands in the
// byte at `size_at`, or in a byte of the item itself (plus `item_size`).
enum class PartCount : uint8_t { kAt, kFills, kOne };
enum class ItemSize : uint8_t { kFixed, kAt, kInItem };

struct VariablePart {
  uint8_t type;
  Since since;
  const char* name;  // the items' DSP0134 name ("Contained Elements")
  uint8_t start;
  uint8_t start_after = kNoPart;  // the part this one follows, and `start` counts from its end
  PartCount count = PartCount::kAt;
  uint8_t count_at = 0;     // kAt: the count's byte (from the structure's start, or past `start_after`)
  ItemSize size = ItemSize::kFixed;
  uint8_t item_size = 0;    // kFixed: the size; kInItem: added to the item's size byte
  uint8_t size_at = 0;      // kAt: the size's byte; kInItem: the size byte's offset in the item
};

}  // namespace tarnwick
