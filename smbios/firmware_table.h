// The raw SMBIOS table held for the plug-in's lifetime, its version and the
// index of its structures. Written only by LoadFirmwareTable and
// ReleaseFirmwareTable; read-only in between.
#pragma once

#include <cstdint>

namespace tarnwick {

inline constexpr uint32_t kMaxStructures = TARNWICK_MAX_STRUCTURES;
inline constexpr uint8_t kEndOfTableType = 127;  // DSP0134 7.45
inline constexpr uint32_t kNoStructure = 0xFFFF;

struct FirmwareTable {
  uint8_t* buffer;  // header included; null when no table is held
  uint32_t size;    // bytes, as the size query reported them
};

struct SmbiosVersion {
  uint8_t major;
  uint8_t minor;
};

struct StructureIndex {
  const uint8_t* entries[kMaxStructures];  // table order
  uint32_t count;
  // Position in `entries` of the first structure of each type, or
  // kNoStructure: lookups of "the first of a type" need no scan.
  uint16_t first_of_type[256];
  // Type | handle << 16 of each entry (DSP0134 6.1.2: type at byte 0,
  // handle at bytes 2-3), side by side: a lookup by handle compares
  // several entries per step instead of visiting each structure.
  uint32_t type_and_handle[kMaxStructures];
};

inline uint32_t TypeAndHandle(uint32_t type, uint32_t handle) { return type | handle << 16; }

extern FirmwareTable g_firmware_table;
extern SmbiosVersion g_smbios_version;
extern StructureIndex g_structure_index;

// Result codes of LoadFirmwareTable.
enum LoadResult : int32_t {
  kLoaded = 0,
  kNoFirmwareService = 1,
  kNoFirmwareTable = 2,
  kAllocationFailed = 3,
  kFetchFailed = 4,
  kTableNotValid = 5,
};

// Fetches, checks and indexes the table; on failure writes the diagnostic and
// holds no table. A table held from an earlier load is released first.
int32_t LoadFirmwareTable();

// Releases the table; afterwards it is absent and the index empty.
void ReleaseFirmwareTable();

// Structure validity, the one gate for every structure read: `structure`
// starts inside the held table, its length byte is at least 4, and the NUL
// pair closing its string-set lies wholly inside the table. On success and
// with `next` given, stores the following structure's start, or null after
// an end-of-table structure or at the end of the buffer.
bool NextStructure(const uint8_t* structure, const uint8_t** next);

}  // namespace tarnwick
