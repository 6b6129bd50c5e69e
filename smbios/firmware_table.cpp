#include "smbios/firmware_table.h"

#include <cstring>

#include "plugin/diagnostics.h"
#include "plugin/host_interface.h"
#include "platform/platform.h"
#include "smbios/nul_scan.h"

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

int32_t Fail(int32_t code, const char16_t* message) {
  ReleaseFirmwareTable();
  PrintErrorPrefix();
  Qprintf(platform::StandardErrorHandle(), message);
  return code;
}

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

void IndexStructure(const uint8_t* structure) {
  uint32_t position = g_structure_index.count++;
  g_structure_index.entries[position] = structure;
  g_structure_index.type_and_handle[position] = TypeAndHandle(structure[0], structure[2] | structure[3] << 8);
  uint16_t& first = g_structure_index.first_of_type[structure[0]];
  if (first == kNoStructure) first = static_cast<uint16_t>(position);
}

// Where the string-set of the structure at `offset` ends: the position of the
// first NUL pair at or after its formatted area (DSP0134 6.1.3), both NULs
// inside the buffer. `size` when the structure is not valid: a length byte
// below 4 or no such pair. Bytes offset and offset + 1 lie inside the buffer.
size_t StringSetEnd(const uint8_t* begin, size_t size, size_t offset) {
  const size_t length = begin[offset + 1];
  if (length < 4) return size;
  return FindNulPair(begin, offset + length, size);
}

void ClearIndex() {
  g_structure_index.count = 0;
  std::memset(g_structure_index.first_of_type, 0xFF, sizeof g_structure_index.first_of_type);
}

}  // namespace

bool NextStructure(const uint8_t* structure, const uint8_t** next) {
  const uint8_t* begin = g_firmware_table.buffer;
  if (structure == nullptr || begin == nullptr) return false;
  const uintptr_t start = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t at = reinterpret_cast<uintptr_t>(structure);
  const uint32_t size = g_firmware_table.size;
  if (at < start || at - start >= size || at - start + 1 >= size) return false;
  const size_t pair = StringSetEnd(begin, size, at - start);
  if (pair >= size) return false;
  if (next != nullptr) {
    const size_t following = pair + 2;
    *next = (structure[0] == kEndOfTableType || following >= size) ? nullptr : begin + following;
  }
  return true;
}

void ReleaseFirmwareTable() {
  platform::ReleaseTableBuffer(g_firmware_table.buffer);
  g_firmware_table.buffer = nullptr;
  ClearIndex();
  g_smbios_version = {0, 0};
}

int32_t LoadFirmwareTable() {
  ReleaseFirmwareTable();

  platform::FirmwareTableFetch fetch = platform::LocateFirmwareService();
  if (fetch == nullptr) return Fail(kNoFirmwareService, u"GetSystemFirmwareTable() not supported!\r\n");

  const uint32_t size = fetch(platform::kRawSmbiosProvider, 0, nullptr, 0);
  g_firmware_table.size = size;
  if (size == 0) return Fail(kNoFirmwareTable, u"No firmware table!\r\n");

  g_firmware_table.buffer = platform::AllocateTableBuffer(size);
  if (g_firmware_table.buffer == nullptr) {
    return Fail(kAllocationFailed, u"Error allocating buffer for firmware table!\r\n");
  }

  // A table that grew between the size query and the fetch is reported with
  // its new size and was not copied: that is a failed fetch too.
  const uint32_t fetched = fetch(platform::kRawSmbiosProvider, 0, g_firmware_table.buffer, size);
  if (fetched == 0 || fetched > size) return Fail(kFetchFailed, u"Error loading firmware table!\r\n");

  // The walk applies NextStructure's rule by offsets: every position it
  // reaches already lies inside the buffer. ReleaseFirmwareTable above has
  // cleared the index.
  const uint8_t* begin = g_firmware_table.buffer;
  size_t at = WalkStart(begin, size);
  size_t pair = at + 1 < size ? StringSetEnd(begin, size, at) : size;
  if (pair >= size) return Fail(kTableNotValid, u"Firmware tables don't appear valid!\r\n");
  while (g_structure_index.count < kMaxStructures) {
    IndexStructure(begin + at);
    if (begin[at] == kEndOfTableType) break;
    at = pair + 2;
    if (at + 1 >= size) break;
    pair = StringSetEnd(begin, size, at);
    if (pair >= size) break;
  }
  return kLoaded;
}

}  // namespace tarnwick
