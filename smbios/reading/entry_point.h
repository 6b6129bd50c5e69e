// The SMBIOS entry points (DSP0134 5.2) and the 8-byte header that the
// firmware-table service puts in front of the structure table: read and
// written here alone, on bytes. The live table (the kernel's entry point and
// table files), dumps and the dump writer all go through these functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarnwick {

enum class EntryPointKind : uint8_t {
  kNone,     // no anchor at the first byte
  kSmbios3,  // "_SM3_", DSP0134 5.2.2: 64-bit table address, a maximum size
  kSmbios2,  // "_SM_", DSP0134 5.2.1, with its "_DMI_" part at 10h
  kLegacy,   // "_DMI_" alone (the 5.2.1 part from 10h on), older than SMBIOS
};

// The fixed sizes: bytes that a complete entry point of each kind holds.
inline constexpr uint8_t kSmbios3EntryPointSize = 0x18;
inline constexpr uint8_t kSmbios2EntryPointSize = 0x1F;
inline constexpr uint8_t kLegacyEntryPointSize = 0x0F;
// Room for any of them: where a dump puts its table (dmidecode's layout).
inline constexpr uint8_t kEntryPointRoom = 0x20;

// In a sound entry point the bytes [from, from + length) sum to 0 mod 256;
// the range is as the entry point states it and may reach past its bytes.
struct ChecksumRange {
  uint8_t from;
  uint8_t length;
};

// The sum mod 256 of `count` bytes: 0 over what a checksum covers.
uint8_t ByteSum(const uint8_t* bytes, size_t count);

// A field of an entry point: its offset, its width in bytes (0: the kind
// has no such field) and DSP0134's name for it.
struct EntryPointField {
  uint8_t offset = 0;
  uint8_t width = 0;
  const char* name = nullptr;
};

// A checksum byte and what it covers: `length` bytes from `from`, or the
// entry point's own length where `length` is 0.
struct ChecksumField {
  EntryPointField byte;
  uint8_t from = 0;
  uint8_t length = 0;
};

// Where each kind keeps its fields (DSP0134 5.2.1, 5.2.2; "_DMI_" alone has
// the layout of the 5.2.1 part from 10h on). The reader, the writer and the
// table's check all take their offsets from here.
struct EntryPointLayout {
  EntryPointKind kind;
  const char* anchor;
  uint8_t size;                       // the fixed size
  EntryPointField length;             // the entry point's length byte
  EntryPointField major, minor;       // _DMI_: none; its BCD revision gives the version
  EntryPointField revision;           // docrev, or the BCD revision
  EntryPointField entry_point_revision;
  uint8_t entry_point_revision_value; // the layout's own: 01h for 3.0, 00h for 2.1
  EntryPointField table_length;
  EntryPointField table_address;
  EntryPointField structure_count;
  EntryPointField largest_structure;
  uint8_t legacy_part;                // _SM_: where its "_DMI_" part begins; 0: none
  ChecksumField checksums[2];         // in the order of EntryPoint::checksums
  uint8_t checksum_count;
};

inline constexpr EntryPointLayout kEntryPointLayouts[] = {
    {EntryPointKind::kSmbios3, "_SM3_", kSmbios3EntryPointSize, {0x06, 1, "Entry Point Length"},
     {0x07, 1, "SMBIOS Major Version"}, {0x08, 1, "SMBIOS Minor Version"}, {0x09, 1, "SMBIOS Docrev"},
     {0x0A, 1, "Entry Point Revision"}, 1, {0x0C, 4, "Structure Table Maximum Size"},
     {0x10, 8, "Structure Table Address"}, {}, {}, 0,
     {{{0x05, 1, "Entry Point Structure Checksum"}, 0, 0}}, 1},
    {EntryPointKind::kSmbios2, "_SM_", kSmbios2EntryPointSize, {0x05, 1, "Entry Point Length"},
     {0x06, 1, "SMBIOS Major Version"}, {0x07, 1, "SMBIOS Minor Version"}, {0x1E, 1, "SMBIOS BCD Revision"},
     {0x0A, 1, "Entry Point Revision"}, 0, {0x16, 2, "Structure Table Length"},
     {0x18, 4, "Structure Table Address"}, {0x1C, 2, "Number of SMBIOS Structures"},
     {0x08, 2, "Maximum Structure Size"}, 0x10,
     {{{0x04, 1, "Entry Point Structure Checksum"}, 0, 0}, {{0x15, 1, "Intermediate Checksum"}, 0x10, 0x0F}}, 2},
    {EntryPointKind::kLegacy, "_DMI_", kLegacyEntryPointSize, {}, {}, {}, {0x0E, 1, "SMBIOS BCD Revision"}, {},
     0, {0x06, 2, "Structure Table Length"}, {0x08, 4, "Structure Table Address"},
     {0x0C, 2, "Number of SMBIOS Structures"}, {}, 0, {{{0x05, 1, "Intermediate Checksum"}, 0, 0x0F}}, 1},
};

// The layout of `kind`; null for kNone.
const EntryPointLayout* LayoutOf(EntryPointKind kind);

struct EntryPoint {
  EntryPointKind kind = EntryPointKind::kNone;
  bool complete = false;  // false: the bytes end before the kind's fixed size
  uint8_t length = 0;     // its own length byte (_SM3_ 06h, _SM_ 05h); 0Fh for "_DMI_", which has none
  uint8_t major = 0;
  uint8_t minor = 0;
  uint8_t revision = 0;  // _SM3_: docrev (09h); _SM_, _DMI_: the BCD revision (1Eh, 0Eh)
  uint64_t table_address = 0;
  uint32_t table_length = 0;       // _SM3_: the maximum size (0Ch); else the 16-bit length
  uint16_t structure_count = 0;    // _SM_ and _DMI_ only
  uint16_t largest_structure = 0;  // _SM_ only (08h)
  ChecksumRange checksums[2] = {};
  uint8_t checksum_count = 0;
};

// What the bytes at `bytes` (`size` of them) hold; kind kNone without an
// anchor, `complete` false when they end too early. "_DMI_" gives its BCD
// revision's digits as the version.
EntryPoint ReadEntryPoint(const uint8_t* bytes, size_t size);

// Writes `entry` (its kind and the fields above, not `length` or the
// checksums) into `out`, kEntryPointRoom bytes, zeros elsewhere, with its
// length byte and every checksum set.
void WriteEntryPoint(const EntryPoint& entry, uint8_t* out);

// The firmware-table service's header: calling method (not kept), major,
// minor, DMI revision, 32-bit table length.
inline constexpr uint32_t kServiceHeaderSize = 8;

struct ServiceHeader {
  uint8_t major;
  uint8_t minor;
  uint8_t revision;
  uint32_t table_length;
};

ServiceHeader ReadServiceHeader(const uint8_t* bytes);
void WriteServiceHeader(const ServiceHeader& header, uint8_t* out);

// The SMBIOS major versions that the loader's header check takes: 2 to 10.
inline bool KnownSmbiosMajor(uint8_t major) { return major >= 2 && major <= 10; }

// The loader's header check: `size` bytes hold a header and at least the
// smallest structure, the header's length is exactly the rest, and its
// major version is known.
bool ServiceHeaderFits(const uint8_t* bytes, size_t size);

// The service header in front of a table of `table_length` bytes that
// `entry` announces; returns its size. 0 (nothing written) for a version the
// loader's check would refuse: the table then goes on bare, keeping every
// structure and losing only the version.
uint32_t ServiceHeaderFor(const EntryPoint& entry, uint32_t table_length, uint8_t* out);

}  // namespace tarnwick
