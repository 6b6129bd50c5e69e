#include "smbios/entry_point.h"

#include <cstring>

namespace tarnwick {
namespace {

// The smallest structure: a 4-byte header and the two NULs of an empty set.
constexpr uint32_t kSmallestStructure = 6;

// Where the "_DMI_" part of a "_SM_" entry point begins (DSP0134 5.2.1).
constexpr uint8_t kLegacyPartInSmbios2 = 0x10;

uint32_t Read16(const uint8_t* at) { return at[0] | at[1] << 8; }
uint32_t Read32(const uint8_t* at) { return Read16(at) | Read16(at + 2) << 16; }
uint64_t Read64(const uint8_t* at) { return Read32(at) | static_cast<uint64_t>(Read32(at + 4)) << 32; }

void Put16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
void Put32(uint8_t* at, uint32_t value) {
  Put16(at, value & 0xFFFF);
  Put16(at + 2, value >> 16);
}

bool HasAnchor(const uint8_t* bytes, size_t size, const char* anchor) {
  const size_t length = std::strlen(anchor);
  return size >= length && std::memcmp(bytes, anchor, length) == 0;
}

// The byte at `at` that makes the range sum to zero.
void SetChecksum(uint8_t* bytes, ChecksumRange range, size_t at) {
  bytes[at] = 0;
  uint8_t sum = 0;
  for (size_t i = range.from; i < size_t{range.from} + range.length; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  bytes[at] = static_cast<uint8_t>(-sum);
}

// The "_DMI_" part at `part` (offset 0 alone, 10h in "_SM_"): 16-bit
// length at 06h, address at 08h, structure count at 0Ch, BCD revision at 0Eh.
void ReadLegacyPart(const uint8_t* part, EntryPoint* entry) {
  entry->table_length = Read16(part + 6);
  entry->table_address = Read32(part + 8);
  entry->structure_count = static_cast<uint16_t>(Read16(part + 0x0C));
  entry->revision = part[0x0E];
}

void WriteLegacyPart(const EntryPoint& entry, uint8_t* out, uint8_t part) {
  std::memcpy(out + part, "_DMI_", 5);
  Put16(out + part + 6, entry.table_length);
  Put32(out + part + 8, static_cast<uint32_t>(entry.table_address));
  Put16(out + part + 0x0C, entry.structure_count);
  out[part + 0x0E] = entry.revision;
  SetChecksum(out, {part, kLegacyEntryPointSize}, part + 5);
}

}  // namespace

EntryPoint ReadEntryPoint(const uint8_t* bytes, size_t size) {
  EntryPoint entry;
  if (HasAnchor(bytes, size, "_SM3_")) {
    entry.kind = EntryPointKind::kSmbios3;
    if (size < kSmbios3EntryPointSize) return entry;
    entry.length = bytes[6];
    entry.major = bytes[7];
    entry.minor = bytes[8];
    entry.revision = bytes[9];
    entry.table_length = Read32(bytes + 0x0C);
    entry.table_address = Read64(bytes + 0x10);
    entry.checksums[0] = {0, entry.length};
    entry.checksum_count = 1;
  } else if (HasAnchor(bytes, size, "_SM_")) {
    entry.kind = EntryPointKind::kSmbios2;
    if (size < kSmbios2EntryPointSize) return entry;
    entry.length = bytes[5];
    entry.major = bytes[6];
    entry.minor = bytes[7];
    entry.largest_structure = static_cast<uint16_t>(Read16(bytes + 8));
    ReadLegacyPart(bytes + kLegacyPartInSmbios2, &entry);
    entry.checksums[0] = {0, entry.length};
    entry.checksums[1] = {kLegacyPartInSmbios2, kLegacyEntryPointSize};
    entry.checksum_count = 2;
  } else if (HasAnchor(bytes, size, "_DMI_")) {
    entry.kind = EntryPointKind::kLegacy;
    if (size < kLegacyEntryPointSize) return entry;
    entry.length = kLegacyEntryPointSize;
    ReadLegacyPart(bytes, &entry);
    entry.major = entry.revision >> 4;
    entry.minor = entry.revision & 0x0F;
    entry.checksums[0] = {0, kLegacyEntryPointSize};
    entry.checksum_count = 1;
  } else {
    return entry;
  }
  entry.complete = true;
  return entry;
}

void WriteEntryPoint(const EntryPoint& entry, uint8_t* out) {
  std::memset(out, 0, kEntryPointRoom);
  switch (entry.kind) {
    case EntryPointKind::kSmbios3:
      std::memcpy(out, "_SM3_", 5);
      out[6] = kSmbios3EntryPointSize;
      out[7] = entry.major;
      out[8] = entry.minor;
      out[9] = entry.revision;
      out[0x0A] = 1;  // entry point revision: 3.0
      Put32(out + 0x0C, entry.table_length);
      Put32(out + 0x10, static_cast<uint32_t>(entry.table_address));
      Put32(out + 0x14, static_cast<uint32_t>(entry.table_address >> 32));
      SetChecksum(out, {0, kSmbios3EntryPointSize}, 5);
      break;
    case EntryPointKind::kSmbios2:
      std::memcpy(out, "_SM_", 4);
      out[5] = kSmbios2EntryPointSize;
      out[6] = entry.major;
      out[7] = entry.minor;
      Put16(out + 8, entry.largest_structure);
      WriteLegacyPart(entry, out, kLegacyPartInSmbios2);
      SetChecksum(out, {0, kSmbios2EntryPointSize}, 4);
      break;
    case EntryPointKind::kLegacy:
      WriteLegacyPart(entry, out, 0);
      break;
    case EntryPointKind::kNone:
      break;
  }
}

ServiceHeader ReadServiceHeader(const uint8_t* bytes) { return {bytes[1], bytes[2], bytes[3], Read32(bytes + 4)}; }

void WriteServiceHeader(const ServiceHeader& header, uint8_t* out) {
  out[0] = 0;
  out[1] = header.major;
  out[2] = header.minor;
  out[3] = header.revision;
  Put32(out + 4, header.table_length);
}

// The whole 32-bit length takes part: tables of 64 KiB and more exist on
// large servers.
bool ServiceHeaderFits(const uint8_t* bytes, size_t size) {
  if (size < kServiceHeaderSize + kSmallestStructure) return false;
  const ServiceHeader header = ReadServiceHeader(bytes);
  return uint64_t{header.table_length} + kServiceHeaderSize == size && KnownSmbiosMajor(header.major);
}

uint32_t ServiceHeaderFor(const EntryPoint& entry, uint32_t table_length, uint8_t* out) {
  if (!KnownSmbiosMajor(entry.major)) return 0;
  WriteServiceHeader({entry.major, entry.minor, entry.revision, table_length}, out);
  return kServiceHeaderSize;
}

}  // namespace tarnwick
