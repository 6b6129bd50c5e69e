// tarnwick --check's findings, each on a table built to hold it; a table
// built clean holds none.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/names.h"
#include "smbios/reading/entry_point.h"
#include "smbios/description/field_description.h"
#include "smbios/description/structure_decoding.h"
#include "smbios/check/table_check.h"
#include "smbios/model/table_model.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

// Every type that names read, and every type that 2.3 and later require,
// at the lengths SMBIOS 3.4 requires, with real strings, a real UUID,
// defined values and handles that point where they may; `end`: with the
// end-of-table structure.
std::vector<Structure> Clean(bool end = true) {
  std::vector<Structure> structures = {
      {0, 0x00, Formatted(0x1A, {{4, 1}, {5, 2}, {8, 3}}), {"Vendor Inc.", "1.2.3", "01/02/2024"}},
      {1, 0x01, Formatted(0x1B, {{4, 1}, {7, 2}, {8, 0x4C}, {0x18, 6}, {0x19, 3}}), {"Maker", "SN-4711", "SKU-1"}},
      {2, 0x02, Formatted(0x0F, {{4, 1}, {5, 2}, {0x0B, 0x03}, {0x0D, 0x0A}}), {"Board Maker", "B-100"}},
      {3, 0x03, Formatted(0x16, {{4, 1}, {5, 0x17}, {8, 2}, {9, 3}, {0x0A, 3}, {0x0B, 3}, {0x0C, 3}, {0x15, 3}}),
       {"Chassis Maker", "TAG-9", "CSKU"}},
      {4, 0x04, Formatted(0x30, {{4, 1}, {5, 3}, {6, 0xC6}, {0x10, 2}, {0x18, 0x41}, {0x19, 0x36}, {0x1A, 0x07},
                                 {0x1C, 0xFF}, {0x1D, 0xFF}, {0x1E, 0xFF}, {0x1F, 0xFF}, {0x28, 0xC6}}),
       {"CPU0", "Chip 9000"}},
      {17, 0x11, Formatted(0x5C, {{4, 0x10}, {6, 0xFE}, {7, 0xFF}, {0x0D, 0x40}, {0x0E, 0x09}, {0x10, 1}, {0x12, 0x1A},
                                  {0x28, 0x03}}),
       {"DIMM A"}},
      {7, 0x07, Formatted(0x1B, {{4, 1}, {5, 0x80}, {0x10, 3}, {0x11, 5}, {0x12, 8}}), {"L1"}},
      {9, 0x90, Formatted(0x17, {{4, 1}, {5, 0xA5}, {6, 0x0D}, {7, 3}, {8, 4}, {0x14, 0x0D}}), {"SLOT1"}},
      {16, 0x10, Formatted(0x17, {{4, 3}, {5, 3}, {6, 3}, {0x0B, 0xFE}, {0x0C, 0xFF}, {0x0D, 1}}), {}},
      {19, 0x130, Formatted(0x1F, {{8, 0xFF}, {9, 0xFF}, {0x0A, 0x3F}, {0x0C, 0x10}, {0x0E, 1}}), {}},  // 0-4 GB
      {32, 0x20, Formatted(0x0B), {}},
      {127, 0x7F, {}, {}}};
  if (!end) structures.pop_back();
  return structures;
}

// Clean() with structure `at` replaced.
std::vector<Structure> CleanWith(size_t at, Structure replacement) {
  std::vector<Structure> structures = Clean();
  structures[at] = std::move(replacement);
  return structures;
}

// Clean() without structure `at`.
std::vector<Structure> Without(size_t at) {
  std::vector<Structure> structures = Clean();
  structures.erase(structures.begin() + static_cast<ptrdiff_t>(at));
  return structures;
}

// Clean() with `extra` before its end-of-table structure.
std::vector<Structure> CleanPlus(Structure extra) {
  std::vector<Structure> structures = Clean();
  structures.insert(structures.end() - 1, std::move(extra));
  return structures;
}

// Clean() with bytes of structure `at` set (offsets from its start); its
// strings replaced when given.
std::vector<Structure> Changed(size_t at, std::initializer_list<std::pair<uint32_t, uint8_t>> bytes,
                               std::vector<std::string> strings = {"-"}) {
  std::vector<Structure> structures = Clean();
  Structure& structure = structures[at];
  for (const auto& [offset, value] : bytes) {
    if (offset - 4 >= structure.formatted.size()) structure.formatted.resize(offset - 3);
    structure.formatted[offset - 4] = value;
  }
  if (strings != std::vector<std::string>{"-"}) structure.strings = std::move(strings);
  return structures;
}

// What identifies a finding: kind, handle, field offset, found/expected, text.
std::string Summary(const Finding& f) {
  return std::string(KindRow(f.kind).words) + ' ' + std::to_string(f.handle) + ' ' +
         std::to_string(f.offset) + ' ' + std::to_string(f.found) + '/' + std::to_string(f.expected) +
         (f.kind != FindingKind::kPlaceholderText ? "" : " \"" + std::string(f.text) + '"');
}

Bytes With(std::vector<Structure> structures, Bytes after, uint8_t major = 3, uint8_t minor = 4) {
  Bytes table = BareTable(structures);
  table.insert(table.end(), after.begin(), after.end());
  return RawTable(table, major, minor);
}

struct CheckCase {
  const char* name; Bytes table; std::vector<std::string> findings;
  uint16_t version = 0; bool stated = true;  // where set, the version a structure's findings are held to
  bool end = true;  // the table checked beside an entry point ends in an end-of-table structure
};

TEST(TableCheckTest, FindsWhatEachTableHolds) {
  Structure old_processor = Clean()[4];
  old_processor.formatted.resize(0x20 - 4);
  Structure old_memory = Clean()[5];
  old_memory.formatted.resize(0x54 - 4);
  const size_t clean_size = BareTable(Clean()).size();
  const CheckCase cases[] = {
      {"clean", With(Clean(), {}), {}},
      {"clean bare table", BareTable(Clean()), {}},
      {"string number past the set", With(Changed(3, {{4, 0}, {8, 3}, {0x15, 2}}, {"TAG-9", "CSKU"}), {}),
       {"string-past-set 3 8 3/2"}, 0x0304},
      {"string number past the set, no version stated", BareTable(Changed(3, {{4, 0}, {8, 3}, {0x15, 2}}, {"TAG-9", "CSKU"})),
       {"string-past-set 3 8 3/2"}, 0x0200, false},
      {"placeholders, trimmed and case-blind",
       With(Changed(1, {{4, 0}, {6, 1}, {7, 2}, {0x19, 0}}, {" Default string ", "to be filled by o.e.m."}), {}),
       {"placeholder-text 1 6 0/0 \" Default string \"", "placeholder-text 1 7 0/0 \"to be filled by o.e.m.\""}},
      {"chassis SKU behind two elements of 3 bytes",
       With(Changed(3, {{0x13, 2}, {0x14, 3}, {0x15, 0x8A}, {0x18, 0x03}, {0x1B, 3}}, {"Chassis Maker", "TAG-9", "0000"}),
            {}),
       {"placeholder-text 3 27 0/0 \"0000\""}},
      {"a contained element of baseboard type 0Fh",
       With(Changed(3, {{0x13, 1}, {0x14, 3}, {0x15, 0x0F}, {0x18, 3}}), {}), {"out-of-range 3 21 15/0"}},
      {"contained elements past the length", With(Changed(3, {{0x13, 2}, {0x14, 3}}), {}),
       {"elements-past-length 3 19 27/22"}},
      // The minimums that the Length rows state (7.1, 7.4, 7.10), below the
      // end of the version's last field, or above it.
      {"a chassis of 0Dh and a slot of 11h in a 3.4 table",
       With(CleanPlus({9, 0x09, Formatted(0x11, {{5, 0xA5}, {6, 3}, {7, 3}, {8, 3}}), {}}), {}), {}},
      {"a BIOS without extension bytes in a 2.3 table",
       With(CleanWith(0, {0, 0x00, Formatted(0x12, {{4, 1}}), {"Vendor Inc."}}), {}, 2, 3),
       {"short-structure 0 1 18/20", "long-structure 1 1 27/25", "long-structure 3 1 22/21", "long-structure 4 1 48/35",
        "long-structure 17 1 92/27", "long-structure 7 1 27/19", "long-structure 144 1 23/13",
        "long-structure 16 1 23/15", "long-structure 304 1 31/15"}},
      // 7.46: 18h and two bytes for each associated component.
      {"firmware inventory with two component handles",
       With(CleanPlus({45, 0x2D, Formatted(0x1C, {{6, 0x01}, {0x16, 0x04}, {0x17, 2}}), {}}), {}, 3, 5), {}},
      {"AMI's placeholder UUID, stored little-endian",
       With(Changed(1, {{8, 0}, {9, 2}, {0x0B, 3}, {0x0D, 4}, {0x0F, 5}, {0x11, 6}, {0x13, 7}, {0x15, 8}, {0x17, 9}}), {}),
       {"placeholder-uuid 1 8 0/0"}},
      {"chassis type 0, lock set", With(Changed(3, {{5, 0x80}}), {}), {"out-of-range 3 5 0/0"}},
      {"chassis type 25h", With(Changed(3, {{5, 0x25}}), {}), {"out-of-range 3 5 37/0"}},
      {"processor status 5, reserved bit 7", With(Changed(4, {{0x18, 0xC5}}), {}),
       {"out-of-range 4 24 5/0", "reserved-bits 4 24 197/184"}},
      {"processor upgrade FFh without a socket type", With(Changed(4, {{0x19, 0xFF}}), {}),
       {"socket-type-missing 4 50 0/0"}},
      {"memory type 15h, form factor 14h", With(Changed(5, {{0x0E, 0x14}, {0x12, 0x15}}), {}),
       {"out-of-range 17 14 20/0", "out-of-range 17 18 21/0"}},
      {"MRDIMM in a CSODIMM", With(Changed(5, {{0x0E, 0x13}, {0x12, 0x25}}), {}), {}},
      {"two languages counted, one given; a reserved byte set",
       With(CleanPlus({13, 0x0D, Formatted(0x16, {{4, 2}, {7, 1}, {0x15, 1}}), {"en|US|iso8859-1"}}), {}),
       {"reserved-nonzero 13 7 1/0", "string-past-set 13 4 2/1"}},
      {"an ISA slot with bus number 0",
       With(CleanPlus({9, 0x09, Formatted(0x17, {{5, 3}, {6, 3}, {7, 3}, {8, 3}, {0x0D, 0xFF}, {0x0E, 0xFF}, {0x10, 0xFF},
                                                {0x14, 0x08}}), {}}),
            {}),
       {"slot-address 9 15 0/255"}},
      {"an ISA slot in segment group 00FFh",
       With(CleanPlus({9, 0x09, Formatted(0x17, {{5, 3}, {6, 3}, {7, 3}, {8, 3}, {0x0D, 0xFF}, {0x0F, 0xFF}, {0x10, 0xFF},
                                                {0x14, 0x08}}), {}}),
            {}),
       {"slot-address 9 13 255/65535"}},
      {"a mapped range ending below its start",
       With(CleanPlus({20, 0x14, Formatted(0x23, {{5, 0x04}, {9, 0x02}, {0x0C, 0x11}, {0x0E, 0x30}, {0x0F, 0x01}, {0x10, 1}}), {}}),
            {}),
       {"address-range 20 8 512/1024"}},
      {"an array's extended range ending below its start",
       With(CleanPlus({19, 0x13, Formatted(0x1F, {{4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}, {8, 0xFF}, {9, 0xFF},
                                                 {0x0A, 0xFF}, {0x0B, 0xFF}, {0x0C, 0x10}, {0x0E, 1}, {0x13, 2}, {0x1B, 1}}),
                                  {}}),
            {}),
       {"address-range 19 23 4294967296/8589934592"}},
      {"an array's extended range of one byte",
       With(CleanPlus({19, 0x13, Formatted(0x1F, {{4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}, {8, 0xFF}, {9, 0xFF},
                                                 {0x0A, 0xFF}, {0x0B, 0xFF}, {0x0C, 0x10}, {0x0E, 1}, {0x13, 1}, {0x1B, 1}}),
                                  {}}),
            {}),
       {}},
      {"a watchdog without a boot option", With(CleanPlus({23, 0x17, Formatted(0x0D, {{4, 0x20}}), {}}), {}),
       {"out-of-range 23 4 32/0"}},
      {"longer than 3.4 defines", With(Changed(5, {{0x63, 0}}), {}), {"long-structure 17 1 100/92"}},
      {"2.1 processor in a 2.3 table, later fields elsewhere", With(CleanWith(4, old_processor), {}, 2, 3),
       {"long-structure 0 1 26/20", "long-structure 1 1 27/25", "long-structure 3 1 22/21", "short-structure 4 1 32/35",
        "long-structure 17 1 92/27", "long-structure 7 1 27/19", "long-structure 144 1 23/13", "long-structure 16 1 23/15", "long-structure 304 1 31/15"}},
      {"2.1 processor in a 2.1 table", With(CleanWith(4, old_processor), {}, 2, 1),
       {"long-structure 0 1 26/20", "long-structure 1 1 27/25", "long-structure 3 1 22/13", "long-structure 17 1 92/21", "long-structure 7 1 27/19", "long-structure 144 1 23/13", "long-structure 16 1 23/15", "long-structure 304 1 31/15"}},
      {"2.33 read as 2.3", With(CleanWith(4, old_processor), {}, 2, 33),
       {"long-structure 0 1 26/20", "long-structure 1 1 27/25", "long-structure 3 1 22/21", "short-structure 4 1 32/35",
        "long-structure 17 1 92/27", "long-structure 7 1 27/19", "long-structure 144 1 23/13", "long-structure 16 1 23/15", "long-structure 304 1 31/15"},
       0x0203},
      {"3.2 memory device in a 3.3 table", With(CleanWith(5, old_memory), {}, 3, 3),
       {"short-structure 17 1 84/92", "long-structure 144 1 23/19"}},
      // Absent parts, UUIDs DSP0134 defines (7.2.1, 7.18.5, 7.18.6).
      {"an empty socket's placeholder", With(Changed(5, {{0x0C, 0}, {0x0D, 0}, {0x17, 2}}, {"DIMM A", "Default string"}), {}),
       {}},
      {"a DRAM module's firmware version", With(Changed(5, {{0x2B, 2}}, {"DIMM A", "Default string"}), {}), {}},
      {"a non-volatile module's firmware version", With(Changed(5, {{0x2B, 2}, {0x28, 4}}, {"DIMM A", "Default string"}), {}),
       {"placeholder-text 17 43 0/0 \"Default string\""}},
      {"no enclosure", With(Changed(3, {{0x0A, 1}}, {"No Enclosure", "TAG-9", "CSKU"}), {}), {}},
      {"a UUID of all FFh",
       With(Changed(1, {{8, 0xFF}, {9, 0xFF}, {0x0A, 0xFF}, {0x0B, 0xFF}, {0x0C, 0xFF}, {0x0D, 0xFF}, {0x0E, 0xFF},
                        {0x0F, 0xFF}, {0x10, 0xFF}, {0x11, 0xFF}, {0x12, 0xFF}, {0x13, 0xFF}, {0x14, 0xFF}, {0x15, 0xFF},
                        {0x16, 0xFF}, {0x17, 0xFF}}),
            {}),
       {"uuid-not-present 1 8 255/0"}},
      // Across structures: handles (6.1.2), each kind of handle field, counts, ranges, required types.
      {"a handle on two structures", With(CleanPlus({126, 0x0003, {}, {}}), {}), {"handle-reused 3 2 3/0"}},
      {"a structure's own handle FFFFh", With(CleanPlus({126, 0xFFFF, {}, {}}), {}), {"handle-reserved 65535 2 65535/0"}},
      {"a structure's own handle FF00h, reserved from 2.1", With(CleanPlus({126, 0xFF00, {}, {}}), {}, 2, 1),
       {"long-structure 0 1 26/20", "long-structure 1 1 27/25", "long-structure 3 1 22/13", "long-structure 4 1 48/32",
        "long-structure 17 1 92/21", "long-structure 7 1 27/19", "long-structure 144 1 23/13",
        "long-structure 16 1 23/15", "long-structure 304 1 31/15", "handle-reserved 65280 2 65280/0"}},
      {"a cache handle naming no structure", With(Changed(4, {{0x1A, 0x77}}), {}), {"handle-dangling 4 26 119/0"}},
      {"a cache handle naming the chassis", With(Changed(4, {{0x1A, 0x03}}), {}), {"handle-wrong-type 4 26 3/0"}},
      {"no L1 cache: FFFFh", With(Changed(4, {{0x1A, 0xFF}, {0x1B, 0xFF}}), {}), {}},
      {"a memory channel's device naming an array",
       With(CleanPlus({37, 0x25, Formatted(0x0A, {{4, 1}, {6, 1}, {8, 0x10}}), {}}), {}), {"handle-wrong-type 37 8 16/0"}},
      {"a group's member not of the type it names",
       With(CleanPlus({14, 0x0E, Formatted(0x08, {{4, 1}, {5, 4}, {6, 0x07}}), {"Group"}}), {}),
       {"handle-wrong-type 14 6 7/0"}},
      {"an array counting two devices, one naming it", With(Changed(8, {{0x0D, 2}}), {}),
       {"memory-device-count 16 13 2/1"}},
      {"two arrays mapped over 0-64 MB",
       With(CleanPlus({19, 0x0131, Formatted(0x1F, {{8, 0xFF}, {9, 0xFF}, {0x0C, 0x10}, {0x0E, 1}}), {}}), {}),
       {"range-overlap 305 4 0/67108863"}},
      {"a device mapped past its array's 4 GB",
       With(CleanPlus({20, 0x14, Formatted(0x23, {{8, 0xFF}, {9, 0xFF}, {0x0A, 0x7F}, {0x0C, 0x11}, {0x0E, 0x30}, {0x0F, 1},
                                                {0x10, 1}}), {}}),
            {}),
       {"range-outside-array 20 4 0/8589934591"}},
      {"a device mapped inside its array's 4 GB", With(CleanPlus({20, 0x14, Formatted(0x23, {{8, 0xFF}, {9, 0xFF},
           {0x0A, 0x3F}, {0x0C, 0x11}, {0x0E, 0x30}, {0x0F, 1}, {0x10, 1}}), {}}), {}), {}},
      {"no System Boot Information in a 3.4 table", With(Without(10), {}), {"structure-missing -1 -1 0/0"}},
      {"no System Boot Information in a 2.2 table", With(Without(10), {}, 2, 2),
       {"long-structure 0 1 26/20", "long-structure 1 1 27/25", "long-structure 3 1 22/13", "long-structure 4 1 48/32",
        "long-structure 17 1 92/21", "long-structure 7 1 27/19", "long-structure 144 1 23/13",
        "long-structure 16 1 23/15", "long-structure 304 1 31/15"}},
      {"no end-of-table structure", With(Clean(false), {}), {"no-end-of-table -1 -1 0/0"}},
      {"length byte 2", With(Clean(false), {0x88, 2, 0x99, 0, 0, 0}), {"length-below-header 153 1 2/0", "no-end-of-table -1 -1 0/0"}},
      {"a header cut after 3 bytes", With(Clean(false), {0x88, 6, 0x99}),
       {"past-table-end -1 -1 0/0", "no-end-of-table -1 -1 0/0"}},
      {"string-set past the end", With(Clean(false), {0x88, 6, 0x99, 0, 1, 2, 'x'}),
       {"past-table-end 153 -1 0/0", "no-end-of-table -1 -1 0/0"}},
      {"bytes after the end", With(Clean(), {0, 0, 0}),
       {"table-length -1 -1 " + std::to_string(clean_size) + "/" + std::to_string(clean_size + 3)}},
  };
  for (const CheckCase& c : cases) {
    ASSERT_EQ(LoadTable(c.table), 0) << c.name;
    std::vector<std::string> found;
    for (const Finding& finding : CheckModel(ReadTableModel(c.table))) {
      found.push_back(Summary(finding));
      EXPECT_EQ(finding.field == nullptr, finding.offset == kNoValue) << c.name << ": a field has its DSP0134 name";
      if (c.version != 0 && finding.handle != kNoValue) {
        EXPECT_EQ(std::pair(finding.version, finding.version_stated), std::pair(c.version, c.stated)) << c.name;
      }
    }
    EXPECT_EQ(found, c.findings) << c.name;
  }
  ShutdownPlugin(0);
}

// A dump of Clean(): its entry point of `kind` with `fields` changed and
// checksums set, then `bytes` changed, 0x20 bytes in all; then the table.
Bytes Dump(EntryPointKind kind, void (*fields)(EntryPoint&), void (*bytes)(Bytes&) = [](Bytes&) {}) {
  const Bytes table = BareTable(Clean());
  EntryPoint entry;
  entry.kind = kind;
  entry.major = 3;
  entry.table_address = kEntryPointRoom;
  entry.table_length = static_cast<uint32_t>(table.size());
  entry.structure_count = static_cast<uint16_t>(Clean().size());
  fields(entry);
  Bytes dump(kEntryPointRoom);
  WriteEntryPoint(entry, dump.data());
  bytes(dump);
  dump.insert(dump.end(), table.begin(), table.end());
  return dump;
}

TEST(TableCheckTest, FindsWhatEachEntryPointHolds) {
  using Kind = EntryPointKind;
  const auto none = [](EntryPoint&) {};
  const std::string size = std::to_string(BareTable(Clean()).size());
  const CheckCase cases[] = {
      {"clean _SM_", Dump(Kind::kSmbios2, none), {}},
      {"clean _SM3_", Dump(Kind::kSmbios3, none), {}},
      {"_SM_ checksum", Dump(Kind::kSmbios2, none, [](Bytes& d) { ++d[4]; }), {"checksum -1 4 1/0"}},
      {"intermediate checksum", Dump(Kind::kSmbios2, none, [](Bytes& d) { ++d[0x15], --d[4]; }),
       {"checksum -1 21 1/0"}},
      {"_SM_ length 20h", Dump(Kind::kSmbios2, none, [](Bytes& d) { d[5] = 0x20, --d[4]; }),
       {"entry-point-length -1 5 32/31"}},
      {"_SM_ length 1Eh of SMBIOS 2.1",
       Dump(Kind::kSmbios2, none, [](Bytes& d) { d[5] = 0x1E, d[4] = static_cast<uint8_t>(d[4] + 1 + d[0x1E]); }),
       {}},
      {"_SM_ without _DMI_", Dump(Kind::kSmbios2, none, [](Bytes& d) { d[0x10] = 'X', d[0x15] += 7; }),
       {"intermediate-anchor -1 16 0/0"}},
      {"_SM3_ reserved byte", Dump(Kind::kSmbios3, none, [](Bytes& d) { d[0x0B] = 1, --d[5]; }),
       {"reserved-nonzero -1 11 1/0"}},
      {"table address 0", Dump(Kind::kSmbios3, [](EntryPoint& e) { e.table_address = 0; }),
       {"table-address-zero -1 16 0/0"}},
      {"count", Dump(Kind::kSmbios2, [](EntryPoint& e) { e.structure_count = 9; }), {"structure-count -1 28 12/9"}},
      {"length past the file", Dump(Kind::kLegacy, [](EntryPoint& e) { e.table_length = 1024; }),
       {"length-past-file -1 6 1024/" + size}},
      {"length short of the table", Dump(Kind::kSmbios2, [](EntryPoint& e) { e.table_length = 32; }),
       {"table-length -1 22 " + size + "/32"}},
      // 5.2.1: a table that ends when the count of structures is met needs no end-of-table structure.
      {"every counted structure, no end-of-table", Dump(Kind::kSmbios2, [](EntryPoint& e) { e.structure_count = 11; }),
       {"table-length -1 22 " + std::to_string(BareTable(Clean(false)).size()) + "/" + size}, 0, true, false},
      {"no count, no end-of-table", Dump(Kind::kSmbios3, none), {"no-end-of-table -1 -1 0/0"}, 0, true, false},
  };
  for (const CheckCase& c : cases) {
    const Bytes table = With(Clean(c.end), {});
    std::vector<std::string> found;
    for (const Finding& f : CheckModel(ReadTableModel(table, {c.table.data(), c.table.size(), c.table.size()}))) {
      found.push_back(Summary(f));
    }
    EXPECT_EQ(found, c.findings) << c.name;
  }
  ShutdownPlugin(0);
}

// Every structure is checked, past the index's 1,024 too: a memory device
// too short for its version at the end of a long table is found there.
TEST(TableCheckTest, ChecksEveryStructurePastTheIndex) {
  std::vector<Structure> structures = Clean(false);
  for (uint16_t handle = 0x7E00; structures.size() < 1100; ++handle) structures.push_back({126, handle, {}, {}});
  Structure old_memory = Clean()[5];
  old_memory.handle = 0x1717;
  old_memory.formatted.resize(0x0C - 4);
  old_memory.formatted[0] = 0xFF;  // in no array: its socket is not the array's
  old_memory.formatted[1] = 0xFF;
  structures.push_back(old_memory);
  structures.push_back(Clean().back());
  const Bytes table = With(structures, {});
  const std::vector<Finding> found = CheckModel(ReadTableModel(table));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(Summary(found[0]), "short-structure 5911 1 12/92");
  EXPECT_EQ(found[0].position, BareTable({structures.begin(), structures.end() - 2}).size());
  EXPECT_EQ(Summary(found[1]), "handle-dangling 5911 4 65535/0");
  ShutdownPlugin(0);
}

// The kinds' words are what scripts match: the manual page and the page on
// --check list each.
TEST(TableCheckTest, EveryKindIsDocumented) {
  for (const char* file : {"/cli/tarnwick.1", "/docs/real-and-check.md"}) {
    std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + file);
    std::stringstream text;
    text << in.rdbuf();
    for (const FindingKindRow& row : kFindingKinds) {
      EXPECT_NE(text.str().find(row.words), std::string::npos) << row.words << " in " << file;
    }
  }
}

// The string fields that names read are string fields of the description,
// which gives --check their DSP0134 names.
TEST(TableCheckTest, NamesReadStringFieldsOfTheDescription) {
  std::vector<std::string> not_described;
  const auto check = [&](const char* name, uint8_t type, uint32_t offset) {
    const auto rows = FieldRowsOf(type);
    if (std::none_of(rows.begin(), rows.end(), [&](const FieldRow& row) {
          return row.offset == offset && row.kind == FieldKind::kString && row.anchor == Anchor::kStart;
        })) {
      not_described.push_back(name);
    }
  };
#define TARNWICK_STRING_ROW(name, type, offset, help) check(#name, type, offset);
#define TARNWICK_OTHER_ROW(...)
  TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_OTHER_ROW, TARNWICK_OTHER_ROW)
#undef TARNWICK_STRING_ROW
#undef TARNWICK_OTHER_ROW
  EXPECT_EQ(not_described, std::vector<std::string>{});
}

// Each type's fixed fields follow one another from offset 4 without a gap or
// an overlap; fields that share bits share their whole bytes.
TEST(TableCheckTest, DescribedFieldsTileEachStructure) {
  for (unsigned type = 0; type < 256; ++type) {
    uint32_t end = 4;
    const FieldRow* previous = nullptr;
    for (const FieldRow& row : FieldRowsOf(static_cast<uint8_t>(type))) {
      if (row.anchor != Anchor::kStart) continue;
      const bool shares = previous && row.offset == previous->offset && row.width == previous->width;
      EXPECT_TRUE(row.offset == end || shares) << "type " << type << ": " << row.name;
      end = std::max(end, uint32_t{row.offset} + row.width);
      previous = &row;
    }
  }
}

// The longest structure of `type` that DSP0134 3.9 lays out: every count
// of a variable part 1, every item as long as its fields, the formatted
// area as far as the last field reaches.
Bytes Longest(uint8_t type) {
  Bytes area(255, 0);
  area[0] = type;
  area[1] = 255;
  const auto parts = VariablePartsOf(type);
  for (int pass = 0; pass < 3; ++pass) {  // a part placed after another is placed once that one is
    for (uint8_t i = 0; i < parts.size(); ++i) {
      uint32_t needed = 1;
      for (const FieldRow& row : FieldRowsOf(type)) {
        if (row.anchor == Anchor::kItem && row.part == i) needed = std::max<uint32_t>(needed, row.offset + row.width);
      }
      const uint32_t base = parts[i].start_after == kNoPart ? 0 : SpanOf(area.data(), parts[i].start_after).end;
      if (parts[i].count == PartCount::kAt) area[base + parts[i].count_at] = 1;
      if (parts[i].size == ItemSize::kAt) area[base + parts[i].size_at] = static_cast<uint8_t>(needed);
      if (parts[i].size == ItemSize::kInItem) {
        area[SpanOf(area.data(), i).start + parts[i].size_at] = static_cast<uint8_t>(needed - parts[i].item_size);
      }
    }
  }
  uint32_t end = 4;
  for (const PlacedField& field : PlacedFields(area.data())) end = std::max(end, field.offset + field.row->width);
  area.resize(end);
  area[1] = static_cast<uint8_t>(end);
  return area;
}

// A field described once is decoded from its row: every row of every type
// reads out on the longest structure of its type.
TEST(DecodeTest, EveryRowDecodesOnTheLongestStructureOfItsType) {
  for (unsigned type = 0; type <= 46; ++type) {
    const Bytes area = Longest(static_cast<uint8_t>(type));
    const Bytes table = RawTable(BareTable({{static_cast<uint8_t>(type), 0x0100, Bytes(area.begin() + 4, area.end()),
                                             {"text"}, area[1]}}), 3, 9);
    const TableModel model = ReadTableModel(table);
    ASSERT_EQ(model.structures.size(), 1U) << "type " << type;
    const std::vector<DecodedField> fields = StructureDecoder(model).Decode(model.structures[0]);
    for (const FieldRow& row : FieldRowsOf(static_cast<uint8_t>(type))) {
      EXPECT_TRUE(std::any_of(fields.begin(), fields.end(),
                              [&](const DecodedField& f) { return std::string_view(f.name) == row.name; }))
          << "type " << type << " length " << unsigned{area[1]} << ": " << row.name;
    }
    for (const DecodedField& field : fields) EXPECT_FALSE(field.text.empty()) << "type " << type << ": " << field.name;
  }
}

struct ReadingCase {
  const char* name;
  FieldStructure structure;
  uint8_t minor;  // of SMBIOS 2.x or 3.x by the structure
  const char* field;
  const char* text;  // "": the field is absent
};

// Fields read as DSP0134 3.9 defines them, dmidecode 3.4's words aside.
TEST(DecodeTest, ReadsEachKindOfField) {
  const ReadingCase cases[] = {
      // 7.18.1 (3.7, 3.9): form factors past dmidecode 3.4's words.
      {"a DSP0134 3.9 value dmidecode 3.4 does not know", {17, 1, 0x28, {{0x0E, 0x13}}, {}}, 9, "Form Factor", "CSODIMM"},
      {"a value no word covers", {17, 1, 0x28, {{0x0E, 0x1A}}, {}}, 9, "Form Factor", "undefined (1Ah)"},
      {"a memory type of 3.9", {17, 1, 0x28, {{0x12, 0x25}}, {}}, 9, "Memory Type", "MRDIMM"},
      {"a field past the length is absent", {17, 1, 0x15, {}, {}}, 9, "Speed", ""},
      {"a size in kilobytes (bit 15)", {17, 1, 0x15, {{0x0C, 0x00}, {0x0D, 0x82}}, {}}, 9, "Size", "512 kB"},
      {"a size in megabytes", {17, 1, 0x15, {{0x0C, 0x00}, {0x0D, 0x40}}, {}}, 9, "Size", "16 GB"},
      {"a size in the largest unit", {17, 1, 0x54, {{0x43, 0x10}}, {}}, 9, "Volatile Size", "1 EB"},
      {"a size that sends to Extended Size", {17, 1, 0x15, {{0x0C, 0xFF}, {0x0D, 0x7F}}, {}}, 9, "Size",
       "See Extended Size"},
      {"a handle with what it points at", {17, 1, 0x15, {{0x04, 0x01}}, {}}, 9, "Physical Memory Array Handle",
       "0x0001 (Memory Device)"},
      {"a handle of no structure", {17, 1, 0x15, {{0x04, 0x02}}, {}}, 9, "Physical Memory Array Handle",
       "0x0002 (no structure has this handle)"},
      {"a handle's special value", {17, 1, 0x15, {{0x06, 0xFE}, {0x07, 0xFF}}, {}}, 9, "Memory Error Information Handle",
       "0xFFFE (Not Provided)"},
      {"a string number past the set", {17, 1, 0x15, {{0x10, 2}}, {"A1"}}, 9, "Device Locator",
       "string 2 is past the string set"},
      {"the rank in bits 3-0", {17, 1, 0x1C, {{0x1B, 0x32}}, {}}, 9, "Attributes",
       "reserved bits set, undefined (30h), 2 ranks"},
      {"one rank", {17, 1, 0x1C, {{0x1B, 0x01}}, {}}, 9, "Attributes", "1 rank"},
      {"rank 0", {17, 1, 0x1C, {{0x1B, 0x00}}, {}}, 9, "Attributes", "Unknown"},
      // 7.10.5: the Slot ID by the Slot Type.
      {"a PCI Express slot's number in 09h", {9, 1, 0x0D, {{0x05, 0xB6}, {0x09, 0x11}, {0x0A, 0x03}}, {}}, 9, "Slot ID",
       "17, offset 0Ah undefined (03h)"},
      {"a PCMCIA slot's adapter and socket", {9, 1, 0x0D, {{0x05, 0x07}, {0x09, 0x01}, {0x0A, 0x02}}, {}}, 9,
       "Slot ID", "Adapter 1, Socket 2"},
      {"an ISA slot's", {9, 1, 0x0D, {{0x05, 0x03}, {0x09, 0x11}, {0x0A, 0x03}}, {}}, 9, "Slot ID",
       "not defined for this slot type (0311h)"},
      // 7.5: FFFFh by the version.
      {"no L1 cache in 2.2", {4, 1, 0x20, {{0x1A, 0xFF}, {0x1B, 0xFF}}, {}}, 2, "L1 Cache Handle", "0xFFFF (No L1 cache)"},
      {"no Cache Information from 2.3", {4, 1, 0x20, {{0x1E, 0xFF}, {0x1F, 0xFF}}, {}}, 3, "L3 Cache Handle",
       "0xFFFF (Not Provided)"},
      {"a signed reading in millivolts", {26, 1, 0x14, {{0x06, 0x0C}, {0x07, 0xFE}}, {}}, 9, "Maximum Value", "-0.5 V"},
      {"a signed reading of zero", {26, 1, 0x14, {}, {}}, 9, "Maximum Value", "0 V"},
      {"reserved bytes wider than a number", {13, 1, 0x16, {{0x06, 0x01}}, {}}, 9, "Reserved",
       "undefined (010000000000000000000000000000)"},
      {"tenths of a degree", {28, 1, 0x14, {{0x06, 0x7B}, {0x07, 0x01}}, {}}, 9, "Maximum Value", "37.9 \xB0" "C"},
      {"two enumerations in one byte", {26, 1, 0x14, {{0x05, 0x63}}, {}}, 9, "Location and Status", "Processor, OK"},
      {"a processor's voltage in tenths", {4, 1, 0x1A, {{0x11, 0x8B}}, {}}, 9, "Voltage", "1.1 V"},
      {"a processor's legacy voltages", {4, 1, 0x1A, {{0x11, 0x03}}, {}}, 9, "Voltage", "5V, 3.3V"},
      {"flags by the bits set", {0, 1, 0x14, {{0x12, 0x03}}, {}}, 9, "BIOS Characteristics Extension Byte 1",
       "ACPI is supported, USB legacy is supported"},
      {"a ROM of 64K * (n + 1)", {0, 1, 0x14, {{0x09, 0x0F}}, {}}, 9, "BIOS ROM Size", "1 MB"},
      {"the UUID's first fields little-endian from 2.6", {1, 1, 0x19, {{0x08, 0x01}, {0x0C, 0x02}}, {}}, 6, "UUID",
       "00000001-0002-0000-0000-000000000000"},
      {"and as stored before", {1, 1, 0x19, {{0x08, 0x01}, {0x0C, 0x02}}, {}}, 5, "UUID",
       "01000000-0200-0000-0000-000000000000"},
      {"an item of a variable part", {37, 1, 0x0A, {{0x06, 1}, {0x07, 5}, {0x08, 1}}, {}}, 9, "Memory Device Handle",
       "0x0001 (Memory Channel)"},
  };
  for (const ReadingCase& c : cases) {
    const uint8_t major = c.minor <= 6 ? 2 : 3;
    const Bytes table = RawTable(FieldTable({c.structure}), major, c.minor);
    const TableModel model = ReadTableModel(table);
    ASSERT_EQ(model.structures.size(), 1U) << c.name;
    std::string text;
    for (const DecodedField& field : StructureDecoder(model).Decode(model.structures[0])) {
      if (std::string_view(field.name) == c.field) text = field.text;
    }
    EXPECT_EQ(text, c.text) << c.name;
  }
}

// Every row reads as DSP0134 lists it: words in order of value without
// overlap and with text, bit names inside the field and outside its
// reserved bits, handles two bytes wide, items in a part of their type.
TEST(TableCheckTest, DescriptionRowsAreWellFormed) {
  for (unsigned type = 0; type < 128; ++type) {
    for (const FieldRow& row : FieldRowsOf(static_cast<uint8_t>(type))) {
      const std::string where = "type " + std::to_string(type) + ": " + row.name;
      EXPECT_TRUE(row.kind != FieldKind::kEnum || !row.words.empty()) << where;
      for (size_t i = 0; i < row.words.size(); ++i) {
        EXPECT_TRUE(row.words[i].text != nullptr && *row.words[i].text != 0) << where;
        EXPECT_TRUE(i == 0 || row.words[i].value > row.words[i - 1].Last()) << where << " word " << i;
      }
      for (const BitName& bit : row.bit_names) {
        EXPECT_TRUE(bit.bit < row.width * 8u && (row.bits >> bit.bit & 1) == 0) << where << " bit " << +bit.bit;
      }
      EXPECT_TRUE(row.kind != FieldKind::kHandle || (row.width == 2 && !row.targets.Empty())) << where;
      EXPECT_TRUE(row.anchor == Anchor::kStart || row.part < VariablePartsOf(static_cast<uint8_t>(type)).size())
          << where;
    }
  }
}

// The variable parts on crafted structures: where each lies, its items, and
// the fields past it; a part whose count or size lies past the length has
// no known end.
TEST(TableCheckTest, VariablePartsLayOutTheirItems) {
  struct PartCase {
    const char* name;
    Bytes structure;  // the formatted area, header included
    uint8_t part;
    bool known;
    uint32_t count, end;
    std::vector<std::pair<uint32_t, uint32_t>> items;  // offset, size
  };
  const auto area = [](uint8_t type, uint8_t length, std::initializer_list<std::pair<uint32_t, uint8_t>> bytes) {
    Bytes out(length);
    out[0] = type;
    out[1] = length;
    for (const auto& [offset, value] : bytes) out[offset] = value;
    return out;
  };
  const PartCase cases[] = {
      {"chassis: 2 elements of 3 bytes", area(3, 0x1C, {{0x13, 2}, {0x14, 3}}), 0, true, 2, 0x1B,
       {{0x15, 3}, {0x18, 3}}},
      {"chassis cut before its count", area(3, 0x13, {}), 0, false, 0, 0, {}},
      {"on-board devices fill the structure", area(10, 0x09, {}), 0, true, 2, 0x08, {{0x04, 2}, {0x06, 2}}},
      {"event log: 2 descriptors of 2 bytes", area(15, 0x1B, {{0x15, 2}, {0x16, 2}}), 0, true, 2, 0x1B,
       {{0x17, 2}, {0x19, 2}}},
      {"additional information: entries of their own lengths",
       area(40, 0x10, {{0x04, 2}, {0x05, 6}, {0x0B, 5}}), 0, true, 2, 0x10, {{0x05, 6}, {0x0B, 5}}},
      {"additional information: an entry of length 0", area(40, 0x10, {{0x04, 2}}), 0, false, 2, 0, {}},
      {"host interface: records after 3 bytes of data and their count",
       area(42, 0x0E, {{0x05, 3}, {0x09, 1}, {0x0A, 2}, {0x0B, 1}}), 1, true, 1, 0x0D, {{0x0A, 3}}},
      {"firmware inventory: 2 component handles", area(45, 0x1C, {{0x17, 2}}), 0, true, 2, 0x1C,
       {{0x18, 2}, {0x1A, 2}}},
  };
  for (const PartCase& c : cases) {
    const PartSpan span = SpanOf(c.structure.data(), c.part);
    EXPECT_EQ(span.known, c.known) << c.name;
    if (c.known) {
      EXPECT_EQ(std::make_pair(span.count, span.end), std::make_pair(c.count, c.end)) << c.name;
    }
    std::vector<std::pair<uint32_t, uint32_t>> items;
    for (uint32_t i = 0; i < 8; ++i) {
      const std::optional<PartItem> item = ItemOf(c.structure.data(), c.part, i);
      if (item) items.emplace_back(item->offset, item->size);
    }
    EXPECT_EQ(items, c.items) << c.name;
  }
  // The fields after a part, and a part's fields in each item, in order.
  const Bytes chassis = area(3, 0x1E, {{0x13, 2}, {0x14, 3}});
  std::vector<std::pair<std::string, uint32_t>> placed;
  for (const PlacedField& field : PlacedFields(chassis.data())) {
    if (field.offset >= 0x15) placed.emplace_back(field.row->name, field.offset);
  }
  const std::vector<std::pair<std::string, uint32_t>> expected = {
      {"Contained Element Type", 0x15}, {"Contained Element Minimum", 0x16}, {"Contained Element Maximum", 0x17},
      {"Contained Element Type", 0x18}, {"Contained Element Minimum", 0x19}, {"Contained Element Maximum", 0x1A},
      {"SKU Number", 0x1B}, {"Rack Type", 0x1C}, {"Rack Height", 0x1D}};
  EXPECT_EQ(placed, expected);
}

}  // namespace
}  // namespace tarnwick::testing
