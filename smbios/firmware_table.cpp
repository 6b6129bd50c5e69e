#include "smbios/firmware_table.h"

#include <cstring>

#include "smbios/inventory.h"

namespace tarnwick {

FirmwareTable g_firmware_table;
SmbiosVersion g_smbios_version;
StructureIndex g_structure_index;

namespace {

// Header in front of the structure table, as the firmware-table service
// returns it: calling method, major, minor, DMI revision, 32-bit length.
constexpr uint32_t kHeaderSize = 8;
// The smallest structure: a 4-byte header and the two NULs of an empty set.
constexpr uint32_t kSmallestStructure = 6;

uint32_t ReadLength32(const uint8_t* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

// The walk starts behind the header only when the header describes exactly
// the buffer it stands in and names an SMBIOS major version from 2 to 10;
// otherwise the buffer is taken as a bare structure table. The whole 32-bit
// length takes part: tables of 64 KiB and more exist on large servers.
uint32_t WalkStart(const uint8_t* buffer, uint32_t size) {
  if (size < kHeaderSize + kSmallestStructure) return 0;
  if (static_cast<uint64_t>(ReadLength32(buffer + 4)) + kHeaderSize != size) return 0;
  if (buffer[1] < 2 || buffer[1] > 10) return 0;
  g_smbios_version = {buffer[1], buffer[2]};
  return kHeaderSize;
}

// The first p >= from with bytes p and p + 1 both zero and p + 1 < size;
// size when there is none. Strings end in a NUL, so the C library's search
// finds each candidate in one call.
size_t FindNulPair(const uint8_t* bytes, size_t from, size_t size) {
  size_t p = from;
  while (p + 1 < size) {
    const void* zero = std::memchr(bytes + p, 0, size - 1 - p);
    if (zero == nullptr) break;
    p = static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes);
    if (bytes[p + 1] == 0) return p;
    p += 2;  // byte p + 1 is not zero: no pair starts there either
  }
  return size;
}

// The size of the structure at `offset` of the held table (see
// StructureSize); bytes offset and offset + 1 lie inside it. The string-set
// ends at the first NUL pair from the end of the formatted area on.
size_t SizeAt(size_t offset) {
  const uint8_t* bytes = g_firmware_table.buffer;
  const size_t size = g_firmware_table.size;
  const size_t length = bytes[offset + 1];
  if (length < 4) return 0;
  const size_t pair = FindNulPair(bytes, offset + length, size);
  return pair < size ? pair + 2 - offset : 0;
}

void IndexStructure(const uint8_t* structure) {
  const uint32_t position = g_structure_index.count++;
  g_structure_index.entries[position] = structure;
  uint16_t& first = g_structure_index.first_of_type[structure[0]];
  if (first == kNoStructure) first = static_cast<uint16_t>(position);
  ++g_structure_index.count_of_type[structure[0]];
}

}  // namespace

size_t StructureSize(const uint8_t* structure) {
  const uint8_t* begin = g_firmware_table.buffer;
  if (structure == nullptr || begin == nullptr) return 0;
  const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t at = reinterpret_cast<uintptr_t>(structure);
  if (at < start || at - start + 1 >= g_firmware_table.size) return 0;
  return SizeAt(at - start);
}

bool NextStructure(const uint8_t* structure, const uint8_t** next) {
  const size_t size = StructureSize(structure);
  if (size == 0) return false;
  if (next != nullptr) {
    const uint8_t* following = structure + size;
    const bool at_end = following >= g_firmware_table.buffer + g_firmware_table.size;
    *next = (structure[0] == kEndOfTableType || at_end) ? nullptr : following;
  }
  return true;
}

void ReleaseTable() {
  g_firmware_table = {nullptr, 0};
  g_smbios_version = {0, 0};
  g_structure_index.count = 0;
  for (uint16_t& first : g_structure_index.first_of_type) first = kNoStructure;
  for (uint16_t& count : g_structure_index.count_of_type) count = 0;
  g_inventory = {};
}

int32_t LoadTable(const uint8_t* bytes, uint32_t size) {
  ReleaseTable();
  if (bytes == nullptr) return kTableNotValid;
  g_firmware_table = {bytes, size};
  // The walk stops at the first structure that is not valid, after an
  // end-of-table structure, or at the index's cap; only a table whose first
  // structure is not valid fails.
  const uint8_t* structure = bytes + WalkStart(bytes, size);
  while (structure != nullptr && g_structure_index.count < kMaxStructures) {
    const uint8_t* next = nullptr;
    if (!NextStructure(structure, &next)) break;
    IndexStructure(structure);
    structure = next;
  }
  if (g_structure_index.count == 0) {
    ReleaseTable();
    return kTableNotValid;
  }
  TallyInventory();
  return kLoaded;
}

}  // namespace tarnwick
