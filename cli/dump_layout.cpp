#include "cli/dump_layout.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "smbios/firmware_table.h"
#include "smbios/inventory.h"

namespace tarnwick::cli {
namespace {

constexpr uint8_t kEndOfTableLength = 4;  // DSP0134 7.45

std::string AnchorName(EntryPointKind kind) {
  switch (kind) {
    case EntryPointKind::kSmbios3: return "_SM3_";
    case EntryPointKind::kSmbios2: return "_SM_";
    default: return "_DMI_";
  }
}

std::string Hex(uint64_t value) {
  char digits[16];
  return "0x" + std::string(digits, std::to_chars(digits, digits + sizeof digits, value, 16).ptr);
}

bool ServiceFromDump(const Bytes& file, const EntryPoint& entry, Bytes* service, std::string* error) {
  if (!entry.complete) {
    *error = "the " + AnchorName(entry.kind) + " entry point is cut short";
    return false;
  }
  if (entry.table_address > file.size()) {
    *error = "the table address " + Hex(entry.table_address) + " lies past the end of the file (" +
             std::to_string(file.size()) + " bytes)";
    return false;
  }
  // dmidecode's own dumps end with the table; a length that the entry point
  // overstates (SMBIOS 3 firmware gives a maximum size, FFFFFFFFh too) ends
  // at the file's end.
  const uint64_t rest = file.size() - entry.table_address;
  const auto length = static_cast<uint32_t>(std::min<uint64_t>(entry.table_length, rest));
  uint8_t header[kServiceHeaderSize];
  const uint32_t header_size = ServiceHeaderFor(entry, length, header);
  const auto* table = file.data() + entry.table_address;
  service->assign(header, header + header_size);
  service->insert(service->end(), table, table + length);
  return true;
}

// A bare table's structures run to a table's end: an end-of-table structure
// of its own length, or the file's end, after which only zero bytes may
// stand (firmware pads tables). Two structures or more that stop at bytes
// which are no structure are a table too, as the loader takes them: some
// firmware leaves bytes after its last structure without an end-of-table
// structure (a Hyper-V generation 1 machine's table holds 17 KiB of them).
// What no table passes is a file whose first bytes read as one structure
// and no more, such as an ELF header read as an end-of-table structure.
bool EndsAsTable(const Bytes& file, const TableWalk& walk) {
  if (walk.structures == 0) return false;
  if (walk.structures >= 2) return true;
  if (walk.end == WalkEnd::kEndOfTable) return file[walk.last_offset + 1] == kEndOfTableLength;
  return std::all_of(file.begin() + walk.end_offset, file.end(), [](uint8_t byte) { return byte == 0; });
}

bool TakenAsTable(const Bytes& file, std::string* error) {
  if (ServiceHeaderFits(file.data(), file.size())) return true;
  const auto size = static_cast<uint32_t>(file.size());
  const TableWalk walk = WalkStructures(file.data(), size, 0, nullptr);
  if (EndsAsTable(file, walk)) return true;
  if (walk.structures == 0) {
    // Bytes that begin no structure may be a service header whose length
    // disagrees with the file (a file cut short, or bytes appended).
    if (size < kServiceHeaderSize || !KnownSmbiosMajor(file[1])) return true;  // the loader says why
    const uint32_t stated = ReadServiceHeader(file.data()).table_length;
    if (uint64_t{stated} + kServiceHeaderSize == size) return true;
    *error = "the firmware-service header gives a table length of " + std::to_string(stated) + " bytes, but " +
             std::to_string(size - kServiceHeaderSize) + " bytes follow the header";
    return false;
  }
  *error =
      "not an SMBIOS table: no entry point, no firmware-service header, and its bytes do not walk as SMBIOS "
      "structures to an end-of-table structure or to the end of the file";
  return false;
}

}  // namespace

bool ServiceLayoutFromFile(Bytes file, Bytes* service, std::string* error) {
  const EntryPoint entry = ReadEntryPoint(file.data(), file.size());
  if (entry.kind != EntryPointKind::kNone) return ServiceFromDump(file, entry, service, error);
  if (!TakenAsTable(file, error)) return false;
  *service = std::move(file);
  return true;
}

TableImage LoadedTableImage() {
  // A walk that starts behind the header means that the header passed the
  // loader's check; a walk from the first byte means a bare table, whose
  // version nobody recorded.
  const uint8_t* buffer = g_firmware_table.buffer;
  const uint8_t* start = g_structure_index.entries[0];
  const uint32_t size = g_firmware_table.size - static_cast<uint32_t>(start - buffer);
  TableImage image{start, size, start != buffer, 0, 0, 0, g_inventory.structures, g_inventory.largest_structure};
  if (image.has_version) {
    const ServiceHeader header = ReadServiceHeader(buffer);
    image.major = header.major;
    image.minor = header.minor;
    image.revision = header.revision;
  }
  return image;
}

Bytes DumpLayout(const TableImage& image) {
  EntryPoint entry;
  entry.major = image.major;
  entry.minor = image.minor;
  entry.table_address = kDumpTableAddress;
  entry.table_length = image.size;
  if ((image.has_version && image.major >= 3) || image.size > 0xFFFF) {
    entry.kind = EntryPointKind::kSmbios3;
    entry.revision = image.revision;
  } else {
    // "_SM_" carries "_DMI_" at 10h; without a version only "_DMI_" stands,
    // at offset 0, as on systems older than SMBIOS. The BCD revision comes
    // from the version where the table's own is unknown.
    const bool bcd_fits = image.major <= 9 && image.minor <= 9;
    const uint8_t bcd = bcd_fits ? static_cast<uint8_t>(image.major << 4 | image.minor) : 0;
    entry.kind = image.has_version ? EntryPointKind::kSmbios2 : EntryPointKind::kLegacy;
    entry.revision = !image.has_version ? 0 : image.revision != 0 ? image.revision : bcd;
    entry.structure_count = static_cast<uint16_t>(std::min<uint32_t>(image.count, 0xFFFF));
    entry.largest_structure = static_cast<uint16_t>(std::min<uint32_t>(image.largest, 0xFFFF));
  }
  Bytes dump(kDumpTableAddress);
  WriteEntryPoint(entry, dump.data());
  dump.insert(dump.end(), image.table, image.table + image.size);
  return dump;
}

}  // namespace tarnwick::cli
