#include "smbios/reading/firmware_table.h"

#include <cstring>

#include "smbios/reading/entry_point.h"
#include "smbios/reading/inventory.h"

namespace tarnwick {

FirmwareTable g_firmware_table;
SmbiosVersion g_smbios_version;
StructureIndex g_structure_index;

namespace {

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

// The size of the structure at `offset` of `bytes` (see StructureSize); 0
// when it is not valid. The string-set ends at the first NUL pair from the
// end of the formatted area on.
size_t SizeAt(const uint8_t* bytes, size_t size, size_t offset) {
  if (offset + 1 >= size) return 0;
  const size_t length = bytes[offset + 1];
  if (length < 4) return 0;
  const size_t pair = FindNulPair(bytes, offset + length, size);
  return pair < size ? pair + 2 - offset : 0;
}

// The first kMaxStructures structures go into the index; every one counts
// in the tallies.
void IndexAndTally(const uint8_t* structure, size_t size, void*) {
  TallyStructure(structure, size);
  if (g_structure_index.count == kMaxStructures) return;
  const uint32_t position = g_structure_index.count++;
  g_structure_index.entries[position] = structure;
  uint16_t& first = g_structure_index.first_of_type[structure[0]];
  if (first == kNoStructure) first = static_cast<uint16_t>(position);
}

}  // namespace

TableStart FindTableStart(const uint8_t* buffer, uint32_t size) {
  if (buffer == nullptr || !ServiceHeaderFits(buffer, size)) return {0, std::nullopt};
  return {kServiceHeaderSize, ReadServiceHeader(buffer)};
}

std::span<const uint8_t> HeldTable() { return {g_firmware_table.buffer, g_firmware_table.size}; }

SmbiosVersion EffectiveVersion(SmbiosVersion stated) {
  if (stated.major == 2 && (stated.minor == 31 || stated.minor == 33)) return {2, 3};
  if (stated.major == 2 && stated.minor == 51) return {2, 6};
  return stated;
}

size_t StructureSize(const uint8_t* structure) {
  const uint8_t* begin = g_firmware_table.buffer;
  if (structure == nullptr || begin == nullptr) return 0;
  const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t at = reinterpret_cast<uintptr_t>(structure);
  if (at < start) return 0;
  return SizeAt(begin, g_firmware_table.size, at - start);
}

TableWalk WalkStructures(const uint8_t* bytes, uint32_t size, uint32_t start, StructureVisitor visit,
                         void* context) {
  TableWalk walk{0, start, start, WalkEnd::kNotValid};
  for (size_t at = start, span; (span = SizeAt(bytes, size, at)) != 0; at += span) {
    ++walk.structures;
    walk.last_offset = static_cast<uint32_t>(at);
    if (visit != nullptr) visit(bytes + at, span, context);
    walk.end_offset = static_cast<uint32_t>(at + span);
    if (bytes[at] == kEndOfTableType || walk.end_offset >= size) {
      walk.end = bytes[at] == kEndOfTableType ? WalkEnd::kEndOfTable : WalkEnd::kBytesEnd;
      break;
    }
  }
  return walk;
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
  g_inventory = {};
}

int32_t LoadTable(const uint8_t* bytes, uint32_t size) {
  ReleaseTable();
  if (bytes == nullptr) return kTableNotValid;
  g_firmware_table = {bytes, size};
  const TableStart start = FindTableStart(bytes, size);
  if (start.header) g_smbios_version = {start.header->major, start.header->minor};
  // The walk stops at the first structure that is not valid or after an
  // end-of-table structure; only a table whose first structure is not valid
  // fails.
  if (WalkStructures(bytes, size, start.offset, &IndexAndTally).structures == 0) {
    ReleaseTable();
    return kTableNotValid;
  }
  return kLoaded;
}

}  // namespace tarnwick
