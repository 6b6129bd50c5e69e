#include "cli/dump_layout.h"

#include <cstring>
#include <utility>

#include "smbios/firmware_table.h"

namespace tarnwick::cli {
namespace {

constexpr uint32_t kServiceHeaderSize = 8;
constexpr uint32_t kSm3Length = 0x18;  // DSP0134 5.2.2
constexpr uint32_t kSmLength = 0x1F;   // DSP0134 5.2.1
constexpr uint32_t kDmiLength = 0x0F;  // the legacy anchor, DSP0134 5.2.1 offsets 10h-1Eh
constexpr uint32_t kDmiOffsetInSm = 0x10;

uint32_t Read16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t Read32(const Bytes& b, size_t at) { return Read16(b, at) | (Read16(b, at + 2) << 16); }
uint64_t Read64(const Bytes& b, size_t at) { return Read32(b, at) | (static_cast<uint64_t>(Read32(b, at + 4)) << 32); }

void Put16(Bytes& b, size_t at, uint32_t value) {
  b[at] = static_cast<uint8_t>(value);
  b[at + 1] = static_cast<uint8_t>(value >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t value) {
  Put16(b, at, value & 0xFFFF);
  Put16(b, at + 2, value >> 16);
}

bool StartsWith(const Bytes& file, const char* anchor) {
  const size_t length = std::strlen(anchor);
  return file.size() >= length && std::memcmp(file.data(), anchor, length) == 0;
}

// The byte that makes the bytes [from, from + length) sum to zero.
void SetChecksum(Bytes& b, size_t from, size_t length, size_t checksum_at) {
  b[checksum_at] = 0;
  uint8_t sum = 0;
  for (size_t i = from; i < from + length; ++i) sum = static_cast<uint8_t>(sum + b[i]);
  b[checksum_at] = static_cast<uint8_t>(-sum);
}

struct DumpFacts {
  uint8_t major, minor, revision;
  uint64_t address, length;
};

bool BuildService(const Bytes& file, const DumpFacts& facts, Bytes* service, std::string* error) {
  if (facts.address > file.size()) {
    *error = "the table address lies past the end of the file";
    return false;
  }
  // dmidecode's own dumps end with the table; a length that the entry point
  // overstates (some SMBIOS 3 firmware gives a maximum) ends at the file's end.
  uint64_t length = file.size() - facts.address;
  if (facts.length < length) length = facts.length;
  const auto* table = file.data() + facts.address;
  // A version that the loader's header check would refuse gives no header:
  // the header's own bytes would be read as a structure.
  if (facts.major < 2 || facts.major > 10) {
    service->assign(table, table + length);
    return true;
  }
  service->assign(kServiceHeaderSize, 0);
  (*service)[1] = facts.major;
  (*service)[2] = facts.minor;
  (*service)[3] = facts.revision;
  Put32(*service, 4, static_cast<uint32_t>(length));
  service->insert(service->end(), table, table + length);
  return true;
}

uint8_t BcdRevision(uint8_t major, uint8_t minor) {
  return major <= 9 && minor <= 9 ? static_cast<uint8_t>(major << 4 | minor) : 0;
}

// What a dump's entry point says; none for another layout, and none with
// the reason in `cut_short` for an entry point cut short.
std::optional<DumpFacts> ReadDumpFacts(const Bytes& file, const char** cut_short) {
  *cut_short = nullptr;
  if (StartsWith(file, "_SM3_")) {
    if (file.size() < kSm3Length) return *cut_short = "the _SM3_ entry point is cut short", std::nullopt;
    return DumpFacts{file[7], file[8], file[9], Read64(file, 0x10), Read32(file, 0x0C)};
  }
  if (StartsWith(file, "_SM_")) {
    if (file.size() < kSmLength) return *cut_short = "the _SM_ entry point is cut short", std::nullopt;
    return DumpFacts{file[6], file[7], file[0x1E], Read32(file, 0x18), Read16(file, 0x16)};
  }
  if (StartsWith(file, "_DMI_")) {
    if (file.size() < kDmiLength) return *cut_short = "the _DMI_ entry point is cut short", std::nullopt;
    const uint8_t bcd = file[0x0E];
    return DumpFacts{static_cast<uint8_t>(bcd >> 4), static_cast<uint8_t>(bcd & 0x0F), bcd, Read32(file, 0x08),
                     Read16(file, 0x06)};
  }
  return std::nullopt;
}

}  // namespace

bool ServiceLayoutFromFile(Bytes file, Bytes* service, std::string* error) {
  const char* cut_short = nullptr;
  if (const std::optional<DumpFacts> facts = ReadDumpFacts(file, &cut_short)) {
    return BuildService(file, *facts, service, error);
  }
  if (cut_short != nullptr) {
    *error = cut_short;
    return false;
  }
  *service = std::move(file);
  return true;
}

std::optional<uint64_t> DumpTableEnd(const Bytes& head) {
  const char* cut_short = nullptr;
  const std::optional<DumpFacts> facts = ReadDumpFacts(head, &cut_short);
  if (!facts) return std::nullopt;
  return facts->address + facts->length;
}

TableImage LoadedTableImage() {
  // A walk that starts behind the header means that the header passed the
  // loader's check; a walk from the first byte means a bare table, whose
  // version nobody recorded.
  const uint8_t* buffer = g_firmware_table.buffer;
  const uint8_t* start = g_structure_index.entries[0];
  const uint32_t size = g_firmware_table.size - static_cast<uint32_t>(start - buffer);
  TableImage image{start, size, start != buffer, 0, 0, 0, g_structure_index.count, 0};
  if (image.has_version) {
    image.major = buffer[1];
    image.minor = buffer[2];
    image.revision = buffer[3];
  }
  for (uint32_t i = 0; i < g_structure_index.count; ++i) {
    const auto span = static_cast<uint32_t>(StructureSize(g_structure_index.entries[i]));
    if (span > image.largest) image.largest = span;
  }
  return image;
}

Bytes DumpLayout(const TableImage& image) {
  Bytes dump(kDumpTableAddress, 0);
  const bool fits_16_bits = image.size <= 0xFFFF;

  if ((image.has_version && image.major >= 3) || !fits_16_bits) {
    std::memcpy(dump.data(), "_SM3_", 5);
    dump[6] = kSm3Length;
    dump[7] = image.major;
    dump[8] = image.minor;
    dump[9] = image.revision;
    dump[0x0A] = 1;  // entry point revision: 3.0
    Put32(dump, 0x0C, image.size);
    Put32(dump, 0x10, kDumpTableAddress);
    SetChecksum(dump, 0, kSm3Length, 5);
  } else {
    // "_SM_" carries "_DMI_" at 10h; without a version only "_DMI_" stands,
    // at offset 0, as on systems older than SMBIOS.
    const size_t dmi = image.has_version ? kDmiOffsetInSm : 0;
    std::memcpy(dump.data() + dmi, "_DMI_", 5);
    Put16(dump, dmi + 6, image.size & 0xFFFF);
    Put32(dump, dmi + 8, kDumpTableAddress);
    Put16(dump, dmi + 0x0C, image.count > 0xFFFF ? 0xFFFF : image.count);
    dump[dmi + 0x0E] =
        image.has_version ? (image.revision != 0 ? image.revision : BcdRevision(image.major, image.minor)) : 0;
    SetChecksum(dump, dmi, kDmiLength, dmi + 5);
    if (image.has_version) {
      std::memcpy(dump.data(), "_SM_", 4);
      dump[5] = kSmLength;
      dump[6] = image.major;
      dump[7] = image.minor;
      Put16(dump, 8, image.largest > 0xFFFF ? 0xFFFF : image.largest);
      SetChecksum(dump, 0, kSmLength, 4);
    }
  }
  dump.insert(dump.end(), image.table, image.table + image.size);
  return dump;
}

}  // namespace tarnwick::cli
