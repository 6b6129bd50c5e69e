#include "smbios/table_check.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "smbios/chassis_types.h"
#include "smbios/entry_point.h"
#include "smbios/firmware_table.h"
#include "smbios/placeholders.h"

namespace tarnwick {
namespace {

// DSP0134's minimum lengths of the types that names read, from the version
// that added the last field of each length on: 7.1 BIOS Information, 7.2
// System Information, 7.3 Baseboard, 7.4 Chassis, 7.5 Processor, 7.18
// Memory Device. A baseboard's fields from 08h on carry no version, and
// readers accept 08h; so does this check.
constexpr MinimumLength kMinimumLengths[] = {
    {0, 2, 0, 0x12}, {0, 2, 4, 0x18}, {0, 3, 1, 0x1A},                                      //
    {1, 2, 0, 0x08}, {1, 2, 1, 0x19}, {1, 2, 4, 0x1B},                                      //
    {2, 2, 0, 0x08},                                                                        //
    {3, 2, 0, 0x09}, {3, 2, 1, 0x0D}, {3, 2, 3, 0x15},                                      //
    {4, 2, 0, 0x1A}, {4, 2, 1, 0x20}, {4, 2, 3, 0x23}, {4, 2, 5, 0x28}, {4, 2, 6, 0x2A},  //
    {4, 3, 0, 0x30}, {4, 3, 6, 0x32},                                                       //
    {17, 2, 1, 0x15}, {17, 2, 3, 0x1B}, {17, 2, 6, 0x1C}, {17, 2, 7, 0x22}, {17, 2, 8, 0x28},
    {17, 3, 2, 0x54}, {17, 3, 3, 0x5C},
};

// The string fields of those types, DSP0134's names. The chassis SKU Number
// stands behind the contained elements (7.4, offset 15h + n * m).
struct StringField {
  uint8_t type;
  uint8_t offset;
  const char* name;
  bool after_elements = false;
};

constexpr StringField kStringFields[] = {
    {0, 0x04, "Vendor"},
    {0, 0x05, "BIOS Version"},
    {0, 0x08, "BIOS Release Date"},
    {1, 0x04, "Manufacturer"},
    {1, 0x05, "Product Name"},
    {1, 0x06, "Version"},
    {1, 0x07, "Serial Number"},
    {1, 0x19, "SKU Number"},
    {1, 0x1A, "Family"},
    {2, 0x04, "Manufacturer"},
    {2, 0x05, "Product"},
    {2, 0x06, "Version"},
    {2, 0x07, "Serial Number"},
    {2, 0x08, "Asset Tag"},
    {2, 0x0A, "Location in Chassis"},
    {3, 0x04, "Manufacturer"},
    {3, 0x06, "Version"},
    {3, 0x07, "Serial Number"},
    {3, 0x08, "Asset Tag Number"},
    {3, 0x15, "SKU Number", true},
    {4, 0x04, "Socket Designation"},
    {4, 0x07, "Processor Manufacturer"},
    {4, 0x10, "Processor Version"},
    {4, 0x20, "Serial Number"},
    {4, 0x21, "Asset Tag"},
    {4, 0x22, "Part Number"},
    {17, 0x10, "Device Locator"},
    {17, 0x11, "Bank Locator"},
    {17, 0x17, "Manufacturer"},
    {17, 0x18, "Serial Number"},
    {17, 0x19, "Asset Tag"},
    {17, 0x1A, "Part Number"},
    {17, 0x2B, "Firmware Version"},
};

constexpr uint8_t kSystemType = 1;
constexpr uint8_t kUuidOffset = 0x08;  // DSP0134 7.2, 16 bytes
constexpr uint8_t kChassisType = 3;
constexpr uint8_t kChassisTypeOffset = 0x05;
constexpr uint8_t kElementCountOffset = 0x13;  // n, then the record length m at 14h

// Firmware writes 2.31 and 2.33 for 2.3 (DSP0134 versions have one digit
// after the point up to 2.8).
SmbiosVersion Effective(SmbiosVersion version) {
  if (version.major == 2 && version.minor >= 10) version.minor /= 10;
  return version;
}

int32_t HandleOf(const uint8_t* structure) { return structure[2] | structure[3] << 8; }

uint32_t PositionOf(const uint8_t* structure, const uint8_t* table) {
  return static_cast<uint32_t>(structure - table);
}

// A finding about a field of an indexed structure, or about the table.
Finding About(FindingKind kind, const uint8_t* structure = nullptr, int32_t offset = kNoValue,
              const char* field = nullptr) {
  Finding finding;
  finding.kind = kind;
  if (structure != nullptr) {
    finding.handle = HandleOf(structure);
    finding.type = structure[0];
    finding.position = PositionOf(structure, g_structure_index.entries[0]);
  }
  finding.offset = offset;
  finding.field = field;
  return finding;
}

// The strings of an indexed structure; validity closes its set inside the table.
std::vector<std::string_view> Strings(const uint8_t* structure) {
  std::vector<std::string_view> strings;
  for (const auto* at = reinterpret_cast<const char*>(structure + structure[1]); *at != 0;) {
    strings.emplace_back(at);
    at += strings.back().size() + 1;
  }
  return strings;
}

// Where the walk stopped short of an end-of-table structure: a length byte
// below 4, or a string-set that does not close inside the table. A header's
// length names the table's bytes; after the end-of-table structure they
// should all be used (an entry point's length is checked with it).
void CheckWalkEnd(const uint8_t* table, uint32_t size, const TableWalk& walk, bool header,
                  std::vector<Finding>* findings) {
  if (walk.end == WalkEnd::kEndOfTable) {
    if (!header || walk.end_offset == size) return;
    Finding finding = About(FindingKind::kTableLengthMismatch);
    finding.found = walk.end_offset;
    finding.expected = size;
    findings->push_back(finding);
    return;
  }
  if (walk.end == WalkEnd::kNotValid) {
    const uint8_t* next = table + walk.end_offset;
    Finding finding = About(FindingKind::kPastTableEnd);
    finding.type = next[0];
    finding.position = walk.end_offset;
    if (walk.end_offset + 1 < size && next[1] < 4) {
      finding.kind = FindingKind::kLengthBelowHeader;
      finding.offset = 1;
      finding.field = "Length";
      finding.found = next[1];
    }
    if (walk.end_offset + 4 <= size) finding.handle = HandleOf(next);
    findings->push_back(finding);
  }
  findings->push_back(About(FindingKind::kNoEndOfTable));
}

void CheckLength(const uint8_t* structure, SmbiosVersion version, std::vector<Finding>* findings) {
  const uint8_t required = RequiredLength(structure[0], version.major, version.minor);
  if (structure[1] >= required) return;
  Finding finding = About(FindingKind::kShortForVersion, structure, 1, "Length");
  finding.found = structure[1];
  finding.expected = required;
  findings->push_back(finding);
}

void CheckStrings(const uint8_t* structure, std::vector<Finding>* findings) {
  const auto of_type = [structure](const StringField& row) { return row.type == structure[0]; };
  if (std::none_of(std::begin(kStringFields), std::end(kStringFields), of_type)) return;
  const uint8_t length = structure[1];
  const std::vector<std::string_view> strings = Strings(structure);
  for (const StringField& row : kStringFields) {
    if (row.type != structure[0]) continue;
    uint32_t offset = row.offset;
    if (row.after_elements) {
      if (length <= kElementCountOffset + 1) continue;
      offset += structure[kElementCountOffset] * structure[kElementCountOffset + 1];
    }
    if (offset >= length || structure[offset] == 0) continue;
    const uint32_t number = structure[offset];
    Finding finding = About(FindingKind::kStringBeyondSet, structure, static_cast<int32_t>(offset), row.name);
    if (number > strings.size()) {
      finding.found = number;
      finding.expected = static_cast<uint32_t>(strings.size());
      findings->push_back(finding);
    } else if (IsPlaceholderString(strings[number - 1])) {
      finding.kind = FindingKind::kPlaceholderText;
      finding.text = strings[number - 1];
      findings->push_back(finding);
    }
  }
}

void CheckValues(const uint8_t* structure, std::vector<Finding>* findings) {
  const uint8_t type = structure[0];
  if (type == kSystemType && structure[1] >= kUuidOffset + 16 && IsPlaceholderUuid(structure + kUuidOffset)) {
    findings->push_back(About(FindingKind::kPlaceholderUuid, structure, kUuidOffset, "UUID"));
  }
  if (type == kChassisType && structure[1] > kChassisTypeOffset) {
    const uint8_t chassis = structure[kChassisTypeOffset] & 0x7F;  // bit 7: the lock
    if (chassis == 0 || chassis > kLastChassisType) {
      Finding finding = About(FindingKind::kUndefinedChassisType, structure, kChassisTypeOffset, "Type");
      finding.found = chassis;
      findings->push_back(finding);
    }
  }
}

// Where each kind of entry point keeps its fields (DSP0134 5.2.1, 5.2.2;
// "_DMI_" alone has the layout of the 5.2.1 part from 10h on).
struct EntryPointFields {
  EntryPointKind kind;
  uint8_t checksums[2];  // the checksum bytes, in the order of EntryPoint::checksums
  const char* checksum_names[2];
  uint8_t length;  // the length byte; 0: none
  uint8_t size;    // what it must hold
  uint8_t table_length;
  const char* table_length_name;
  uint8_t table_address;
  uint8_t count;  // the number of structures; 0: none
};

constexpr EntryPointFields kEntryPointFields[] = {
    {EntryPointKind::kSmbios3, {0x05, 0}, {"Entry Point Structure Checksum", nullptr}, 0x06,
     kSmbios3EntryPointSize, 0x0C, "Structure Table Maximum Size", 0x10, 0},
    {EntryPointKind::kSmbios2, {0x04, 0x15}, {"Entry Point Structure Checksum", "Intermediate Checksum"}, 0x05,
     kSmbios2EntryPointSize, 0x16, "Structure Table Length", 0x18, 0x1C},
    {EntryPointKind::kLegacy, {0x05, 0}, {"Intermediate Checksum", nullptr}, 0, kLegacyEntryPointSize, 0x06,
     "Structure Table Length", 0x08, 0x0C},
};

// DSP0134 2.1 gave the "_SM_" length as 1Eh, and firmware of that time
// writes it.
constexpr uint8_t kSmbios21EntryPointLength = 0x1E;

void CheckEntryPoint(const EntryPointBytes& bytes, const EntryPoint& entry, const TableWalk& walk,
                     std::vector<Finding>* findings) {
  const EntryPointFields* fields = std::find_if(std::begin(kEntryPointFields), std::end(kEntryPointFields),
                                                [&](const EntryPointFields& row) { return row.kind == entry.kind; });
  const auto add = [&](FindingKind kind, uint8_t offset, const char* name, uint64_t found, uint64_t expected) {
    Finding finding = About(kind, nullptr, offset, name);
    finding.found = found;
    finding.expected = expected;
    finding.in_entry_point = true;
    findings->push_back(finding);
  };
  if (!entry.complete) {
    return add(FindingKind::kEntryPointLength, fields->length, "Entry Point Length", bytes.size, fields->size);
  }
  for (uint8_t i = 0; i < entry.checksum_count; ++i) {
    const ChecksumRange range = entry.checksums[i];
    uint8_t sum = 0;
    for (size_t at = range.from; at < size_t{range.from} + range.length && at < bytes.size; ++at) {
      sum = static_cast<uint8_t>(sum + bytes.bytes[at]);
    }
    if (sum != 0) add(FindingKind::kEntryPointChecksum, fields->checksums[i], fields->checksum_names[i], sum, 0);
  }
  const bool length_known = entry.length == fields->size ||
                            (entry.kind == EntryPointKind::kSmbios2 && entry.length == kSmbios21EntryPointLength);
  if (fields->length != 0 && !length_known) {
    add(FindingKind::kEntryPointLength, fields->length, "Entry Point Length", entry.length, fields->size);
  }
  // An SMBIOS 3 entry point gives a maximum size, which the table may fall
  // short of; the others give the table's length.
  const bool maximum = entry.kind == EntryPointKind::kSmbios3;
  if (bytes.file_size != 0 && entry.table_address > bytes.file_size) {
    add(FindingKind::kAddressPastFile, fields->table_address, "Structure Table Address", entry.table_address,
        bytes.file_size);
  } else if (bytes.file_size != 0 && !maximum && entry.table_address + entry.table_length > bytes.file_size) {
    add(FindingKind::kLengthPastFile, fields->table_length, fields->table_length_name, entry.table_length,
        bytes.file_size - entry.table_address);
  } else if (maximum ? walk.end_offset > entry.table_length : walk.end_offset != entry.table_length) {
    add(FindingKind::kTableLengthMismatch, fields->table_length, fields->table_length_name, walk.end_offset,
        entry.table_length);
  }
  if (fields->count != 0 && entry.structure_count != walk.structures) {
    add(FindingKind::kStructureCountMismatch, fields->count, "Number of SMBIOS Structures", walk.structures,
        entry.structure_count);
  }
}

}  // namespace

uint8_t RequiredLength(uint8_t type, uint8_t major, uint8_t minor) {
  const SmbiosVersion version = Effective({major, minor});
  uint8_t required = 0;
  for (const MinimumLength& row : kMinimumLengths) {
    if (row.type != type) continue;
    const bool applies = version.major > row.major || (version.major == row.major && version.minor >= row.minor);
    if (applies || required == 0) required = row.length;
  }
  return required;
}

std::vector<Finding> CheckTable(const EntryPointBytes& entry) {
  std::vector<Finding> findings;
  const StructureIndex& index = g_structure_index;
  if (index.count == 0) return findings;
  const uint8_t* table = index.entries[0];
  const uint32_t size = g_firmware_table.size - PositionOf(table, g_firmware_table.buffer);
  for (uint32_t i = 0; i < index.count; ++i) {
    const uint8_t* structure = index.entries[i];
    CheckLength(structure, g_smbios_version, &findings);
    CheckStrings(structure, &findings);
    CheckValues(structure, &findings);
  }
  const TableWalk walk = WalkStructures(table, size, 0, nullptr);
  const EntryPoint read = ReadEntryPoint(entry.bytes, entry.size);
  const bool header = table != g_firmware_table.buffer && read.kind == EntryPointKind::kNone;
  CheckWalkEnd(table, size, walk, header, &findings);
  if (read.kind != EntryPointKind::kNone) CheckEntryPoint(entry, read, walk, &findings);
  return findings;
}

}  // namespace tarnwick
