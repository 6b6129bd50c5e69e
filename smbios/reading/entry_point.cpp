#include "smbios/reading/entry_point.h"

#include <cstring>

namespace tarnwick {
namespace {

// The smallest structure: a 4-byte header and the two NULs of an empty set.
constexpr uint32_t kSmallestStructure = 6;

// The service header's 32-bit table length.
constexpr EntryPointField kServiceTableLength{4, 4};

uint64_t Read(const uint8_t* bytes, EntryPointField field) {
  uint64_t value = 0;
  for (uint8_t i = field.width; i-- > 0;) value = value << 8 | bytes[field.offset + i];
  return value;
}

void Put(uint8_t* out, EntryPointField field, uint64_t value) {
  for (uint8_t i = 0; i < field.width; ++i, value >>= 8) out[field.offset + i] = static_cast<uint8_t>(value);
}

bool HasAnchor(const uint8_t* bytes, size_t size, const char* anchor) {
  const size_t length = std::strlen(anchor);
  return size >= length && std::memcmp(bytes, anchor, length) == 0;
}

}  // namespace

uint8_t ByteSum(const uint8_t* bytes, size_t count) {
  uint8_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  return sum;
}

const EntryPointLayout* LayoutOf(EntryPointKind kind) {
  for (const EntryPointLayout& layout : kEntryPointLayouts) {
    if (layout.kind == kind) return &layout;
  }
  return nullptr;
}

EntryPoint ReadEntryPoint(const uint8_t* bytes, size_t size) {
  EntryPoint entry;
  const EntryPointLayout* layout = nullptr;
  for (const EntryPointLayout& row : kEntryPointLayouts) {
    if (HasAnchor(bytes, size, row.anchor)) {
      layout = &row;
      break;
    }
  }
  if (layout == nullptr) return entry;
  entry.kind = layout->kind;
  if (size < layout->size) return entry;
  entry.complete = true;
  entry.length = layout->length.width != 0 ? bytes[layout->length.offset] : layout->size;
  entry.revision = static_cast<uint8_t>(Read(bytes, layout->revision));
  // "_DMI_" alone states no version but its BCD revision's digits.
  entry.major = layout->major.width != 0 ? bytes[layout->major.offset] : entry.revision >> 4;
  entry.minor = layout->minor.width != 0 ? bytes[layout->minor.offset] : entry.revision & 0x0F;
  entry.table_length = static_cast<uint32_t>(Read(bytes, layout->table_length));
  entry.table_address = Read(bytes, layout->table_address);
  entry.structure_count = static_cast<uint16_t>(Read(bytes, layout->structure_count));
  entry.largest_structure = static_cast<uint16_t>(Read(bytes, layout->largest_structure));
  entry.checksum_count = layout->checksum_count;
  for (uint8_t i = 0; i < layout->checksum_count; ++i) {
    const ChecksumField& checksum = layout->checksums[i];
    entry.checksums[i] = {checksum.from, checksum.length != 0 ? checksum.length : entry.length};
  }
  return entry;
}

void WriteEntryPoint(const EntryPoint& entry, uint8_t* out) {
  std::memset(out, 0, kEntryPointRoom);
  const EntryPointLayout* layout = LayoutOf(entry.kind);
  if (layout == nullptr) return;
  std::memcpy(out, layout->anchor, std::strlen(layout->anchor));
  if (layout->legacy_part != 0) std::memcpy(out + layout->legacy_part, "_DMI_", 5);
  Put(out, layout->length, layout->size);
  Put(out, layout->major, entry.major);
  Put(out, layout->minor, entry.minor);
  Put(out, layout->revision, entry.revision);
  Put(out, layout->entry_point_revision, layout->entry_point_revision_value);
  Put(out, layout->table_length, entry.table_length);
  Put(out, layout->table_address, entry.table_address);
  Put(out, layout->structure_count, entry.structure_count);
  Put(out, layout->largest_structure, entry.largest_structure);
  // The last checksum first: the "_SM_" checksum covers the intermediate one.
  for (uint8_t i = layout->checksum_count; i-- > 0;) {
    const ChecksumField& checksum = layout->checksums[i];
    const uint8_t length = checksum.length != 0 ? checksum.length : layout->size;
    out[checksum.byte.offset] = static_cast<uint8_t>(-ByteSum(out + checksum.from, length));
  }
}

ServiceHeader ReadServiceHeader(const uint8_t* bytes) {
  return {bytes[1], bytes[2], bytes[3], static_cast<uint32_t>(Read(bytes, kServiceTableLength))};
}

void WriteServiceHeader(const ServiceHeader& header, uint8_t* out) {
  out[0] = 0;
  out[1] = header.major;
  out[2] = header.minor;
  out[3] = header.revision;
  Put(out, kServiceTableLength, header.table_length);
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
