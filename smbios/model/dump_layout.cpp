#include "smbios/model/dump_layout.h"

#include <algorithm>
#include <utility>

#include "smbios/reading/firmware_table.h"

namespace tarnwick {
namespace {

constexpr uint8_t kEndOfTableLength = 4;  // DSP0134 7.45

FileLayout ServiceFromDump(const Bytes& file, const EntryPoint& entry, Bytes* service) {
  if (!entry.complete) return {FileRefusal::kEntryPointCut, entry.kind};
  // A table of no bytes has no end-of-table structure (DSP0134 7.45) to end it.
  if (entry.table_length == 0) return {FileRefusal::kNoTableLength, entry.kind};
  if (entry.table_address > file.size()) return {FileRefusal::kAddressPastFile, entry.kind, entry.table_address};
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
  return {FileRefusal::kNone, entry.kind};
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

FileLayout TakenAsTable(const Bytes& file) {
  if (ServiceHeaderFits(file.data(), file.size())) return {};
  const auto size = static_cast<uint32_t>(file.size());
  const TableWalk walk = WalkStructures(file.data(), size, 0, nullptr);
  if (EndsAsTable(file, walk)) return {};
  if (walk.structures != 0) return {FileRefusal::kNotATable};
  // Bytes that begin no structure may be a service header whose length
  // disagrees with the file (a file cut short, or bytes appended).
  if (size < kServiceHeaderSize || !KnownSmbiosMajor(file[1])) return {FileRefusal::kNotATable};
  const uint32_t stated = ReadServiceHeader(file.data()).table_length;
  if (uint64_t{stated} + kServiceHeaderSize == size) return {};
  return {FileRefusal::kHeaderLengthMismatch, EntryPointKind::kNone, 0, stated};
}

}  // namespace

FileLayout ServiceLayoutFromFile(Bytes file, Bytes* service) {
  const EntryPoint entry = ReadEntryPoint(file.data(), file.size());
  if (entry.kind != EntryPointKind::kNone) return ServiceFromDump(file, entry, service);
  const FileLayout layout = TakenAsTable(file);
  if (layout.refusal == FileRefusal::kNone) *service = std::move(file);
  return layout;
}

TableImage ImageOf(const TableModel& model) {
  // A model with a header is a table whose header passed the loader's
  // check; one without is a bare table, whose version nobody recorded.
  TableImage image{model.table.data(), static_cast<uint32_t>(model.table.size()), model.header.has_value()};
  if (image.has_version) {
    image.major = model.header->major;
    image.minor = model.header->minor;
    image.revision = model.header->revision;
  }
  image.count = static_cast<uint32_t>(model.structures.size());
  for (const Structure& structure : model.structures) image.largest = std::max(image.largest, structure.size);
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
    // Only a 64-bit entry point holds a table over 64 KiB, and it states a
    // version: for a bare table, 3.0, the first whose entry point it is
    // (DSP0134 5.2.2); readers take no 0.0 there.
    if (!image.has_version) entry.major = 3, entry.minor = 0, entry.revision = 0;
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

}  // namespace tarnwick
