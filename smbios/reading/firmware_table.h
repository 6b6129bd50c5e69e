// The raw SMBIOS table, its version and the index of its structures. Written
// only by LoadTable and ReleaseTable; read-only in between. This layer knows
// bytes alone: it returns result codes and writes no message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "smbios/reading/entry_point.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {

inline constexpr uint32_t kMaxStructures = TARNWICK_MAX_STRUCTURES;
inline constexpr uint16_t kNoStructure = 0xFFFF;
// The fewest bytes a structure takes: its 4-byte header and the two NULs
// that end an empty string-set (DSP0134 6.1.2, 6.1.3); no table is smaller.
inline constexpr uint32_t kSmallestStructure = 6;
// The most bytes read from any source of a table (a dump, the kernel's
// files): far above any real table, which holds some kilobytes.
inline constexpr uint32_t kLargestTable = 16 * 1024 * 1024;

struct FirmwareTable {
  const uint8_t* buffer;  // header included; null when no table is held
  uint32_t size;          // bytes
};

struct SmbiosVersion {
  uint8_t major;
  uint8_t minor;
};

// The version that firmware means by the one it states. DSP0134's versions
// have one digit after the point up to 2.8, yet some firmware writes 2.31 or
// 2.33 for 2.3 and 2.51 for 2.6; the Linux kernel (dmi_scan.c) and dmidecode
// mend exactly these three, so every reader here does the same and takes any
// other version as it stands.
SmbiosVersion EffectiveVersion(SmbiosVersion stated);

// Type at 00h, length at 01h, handle at 02h-03h of every structure (DSP0134 6.1.2).
inline uint16_t StructureHandle(const uint8_t* structure) {
  return static_cast<uint16_t>(structure[2] | structure[3] << 8);
}

struct StructureIndex {
  const uint8_t* entries[kMaxStructures];  // table order
  uint32_t count;
  // Position in `entries` of the first structure of each type, or
  // kNoStructure: every variable asks for the first of a type, in one step.
  uint16_t first_of_type[256];
};

extern FirmwareTable g_firmware_table;
extern SmbiosVersion g_smbios_version;
extern StructureIndex g_structure_index;

// Where the structures of a buffer begin: behind the firmware service's
// header when the header describes exactly the buffer it stands in and names
// an SMBIOS major version from 2 to 10 (its version is the table's);
// otherwise at the first byte, a bare table whose version nobody recorded.
// The loader and every model of a table start here.
struct TableStart {
  uint32_t offset;
  std::optional<ServiceHeader> header;
};
TableStart FindTableStart(const uint8_t* buffer, uint32_t size);

// The bytes LoadTable holds, header included; empty when none is held.
std::span<const uint8_t> HeldTable();

// Result codes of a load; the lifecycle turns each failure into its message.
enum LoadResult : int32_t {
  kLoaded = 0,
  kNoFirmwareService = 1,
  kNoFirmwareTable = 2,
  kAllocationFailed = 3,
  kFetchFailed = 4,
  kTableNotValid = 5,
};

// Checks the header in front of `bytes` (the firmware-table service's
// layout, smbios/reading/entry_point.h), captures the SMBIOS version, indexes the
// structures and tallies every structure of the table, past the index's
// cap too (smbios/reading/inventory.h); a buffer without a recognised header is
// taken as a bare structure table. The bytes are not copied: they must stay
// unchanged until ReleaseTable. Returns
// kLoaded, or kTableNotValid when no valid structure begins where the walk
// starts (no table is held then). A table held before is released first.
int32_t LoadTable(const uint8_t* bytes, uint32_t size);

// Forgets the table; afterwards it is absent, the index empty, the version 0.0.
void ReleaseTable();

// Structure validity, the one gate for every structure read: `structure`
// starts inside the held table, its length byte is at least 4, and the NUL
// pair closing its string-set lies wholly inside the table (DSP0134 6.1.3).
// Returns the structure's size, string-set and NUL pair included; 0 when it
// is not valid.
size_t StructureSize(const uint8_t* structure);

// How a walk of the structures ended.
enum class WalkEnd : uint8_t {
  kEndOfTable,  // at an end-of-table structure, which is counted
  kBytesEnd,    // the last structure counted closes the bytes
  kNotValid,    // at a structure that is not valid, not counted
};

struct TableWalk {
  uint32_t structures;   // valid structures in table order, however many
  uint32_t last_offset;  // where the last structure counted begins
  uint32_t end_offset;   // the byte after it
  WalkEnd end;
};

// Walks the structures of `bytes` from offset `start` by the rule of
// structure validity, as the loader does, and hands each valid one and its
// size to `visit` (when given), with `context`, in table order.
using StructureVisitor = void (*)(const uint8_t* structure, size_t size, void* context);
TableWalk WalkStructures(const uint8_t* bytes, uint32_t size, uint32_t start, StructureVisitor visit,
                         void* context = nullptr);

// Validates `structure`; when it is valid and `next` is given, stores the
// following structure's start, or null after an end-of-table structure or at
// the end of the table.
bool NextStructure(const uint8_t* structure, const uint8_t** next);

}  // namespace tarnwick
