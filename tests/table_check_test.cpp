// tarnwick --check's findings, each on a table built to hold it; a table
// built clean holds none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "smbios/table_check.h"
#include "tests/support/plugin_test.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

// Every type that names read, at the lengths SMBIOS 3.4 requires, with
// real strings, a real UUID and a defined chassis type; the first `count`.
std::vector<Structure> Clean(size_t count = 7) {
  std::vector<Structure> structures = {
      {0, 0x00, Formatted(0x1A, {{4, 1}, {5, 2}, {8, 3}}), {"Vendor Inc.", "1.2.3", "01/02/2024"}},
      {1, 0x01, Formatted(0x1B, {{4, 1}, {7, 2}, {8, 0x4C}, {0x19, 3}}), {"Maker", "SN-4711", "SKU-1"}},
      {2, 0x02, Formatted(0x0F, {{4, 1}, {5, 2}}), {"Board Maker", "B-100"}},
      {3, 0x03, Formatted(0x16, {{4, 1}, {5, 0x17}, {8, 2}, {0x15, 3}}), {"Chassis Maker", "TAG-9", "CSKU"}},
      {4, 0x04, Formatted(0x30, {{4, 1}, {0x10, 2}}), {"CPU0", "Chip 9000"}},
      {17, 0x11, Formatted(0x5C, {{0x10, 1}}), {"DIMM A"}},
      {127, 0x7F, {}, {}}};
  structures.resize(count);
  return structures;
}

// Clean() with structure `at` replaced.
std::vector<Structure> CleanWith(size_t at, Structure replacement) {
  std::vector<Structure> structures = Clean();
  structures[at] = std::move(replacement);
  return structures;
}

// What identifies a finding: kind, handle, field offset, found/expected, text.
std::string Summary(const Finding& f) {
  static const char* const kKinds[] = {"below 4", "past end", "no end", "table length", "short",
                                       "string number", "placeholder", "uuid", "chassis type"};
  return std::string(kKinds[static_cast<int>(f.kind)]) + ' ' + std::to_string(f.handle) + ' ' +
         std::to_string(f.offset) + ' ' + std::to_string(f.found) + '/' + std::to_string(f.expected) +
         (f.text.empty() ? "" : " \"" + std::string(f.text) + '"');
}

Bytes With(std::vector<Structure> structures, Bytes after, uint8_t major = 3, uint8_t minor = 4) {
  Bytes table = BareTable(structures);
  table.insert(table.end(), after.begin(), after.end());
  return RawTable(table, major, minor);
}

struct CheckCase {
  const char* name;
  Bytes table;
  std::vector<std::string> findings;
};

TEST(TableCheckTest, FindsWhatEachTableHolds) {
  Structure old_processor = Clean()[4];
  old_processor.formatted.resize(0x20 - 4);
  const size_t clean_size = BareTable(Clean()).size();
  const CheckCase cases[] = {
      {"clean", With(Clean(), {}), {}},
      {"clean bare table", BareTable(Clean()), {}},
      {"string number past the set",
       With(CleanWith(3, {3, 0x03, Formatted(0x16, {{5, 0x17}, {8, 3}}), {"Chassis Maker", "TAG-9"}}), {}),
       {"string number 3 8 3/2"}},
      {"placeholders, trimmed and case-blind",
       With(CleanWith(1, {1, 0x01, Formatted(0x1B, {{6, 1}, {7, 2}, {8, 0x4C}}),
                          {" Default string ", "to be filled by o.e.m."}}),
            {}),
       {"placeholder 1 6 0/0 \" Default string \"", "placeholder 1 7 0/0 \"to be filled by o.e.m.\""}},
      {"chassis SKU behind two elements of 3 bytes",
       With(CleanWith(3, {3, 0x03, Formatted(0x1C, {{5, 0x17}, {0x13, 2}, {0x14, 3}, {0x1B, 1}}), {"0000"}}), {}),
       {"placeholder 3 27 0/0 \"0000\""}},
      {"AMI's placeholder UUID, stored little-endian",
       With(CleanWith(1, {1, 0x01, Formatted(0x1B, {{9, 2}, {0x0B, 3}, {0x0D, 4}, {0x0F, 5}, {0x11, 6}, {0x13, 7},
                                                    {0x15, 8}, {0x17, 9}}), {}}), {}),
       {"uuid 1 8 0/0"}},
      {"chassis type 0, lock set", With(CleanWith(3, {3, 0x03, Formatted(0x16, {{5, 0x80}}), {}}), {}),
       {"chassis type 3 5 0/0"}},
      {"chassis type 25h", With(CleanWith(3, {3, 0x03, Formatted(0x16, {{5, 0x25}}), {}}), {}),
       {"chassis type 3 5 37/0"}},
      {"2.1 processor in a 2.3 table", With(CleanWith(4, old_processor), {}, 2, 3), {"short 4 1 32/35"}},
      {"2.1 processor in a 2.1 table", With(CleanWith(4, old_processor), {}, 2, 1), {}},
      {"2.33 read as 2.3", With(CleanWith(4, old_processor), {}, 2, 33), {"short 4 1 32/35"}},
      {"3.2 memory device in a 3.3 table", With(CleanWith(5, {17, 0x11, Formatted(0x54), {}}), {}, 3, 3),
       {"short 17 1 84/92"}},
      {"no end-of-table structure", With(Clean(6), {}), {"no end -1 -1 0/0"}},
      {"length byte 2", With(Clean(6), {0x88, 2, 0x99, 0, 0, 0}), {"below 4 153 1 2/0", "no end -1 -1 0/0"}},
      {"string-set past the end", With(Clean(6), {0x88, 6, 0x99, 0, 1, 2, 'x'}),
       {"past end 153 -1 0/0", "no end -1 -1 0/0"}},
      {"bytes after the end", With(Clean(), {0, 0, 0}),
       {"table length -1 -1 " + std::to_string(clean_size) + "/" + std::to_string(clean_size + 3)}},
  };
  for (const CheckCase& c : cases) {
    ASSERT_EQ(LoadTable(c.table), 0) << c.name;
    std::vector<std::string> found;
    for (const Finding& finding : CheckTable()) {
      found.push_back(Summary(finding));
      EXPECT_EQ(finding.field == nullptr, finding.offset == kNone) << c.name << ": a field has its DSP0134 name";
    }
    EXPECT_EQ(found, c.findings) << c.name;
  }
  ShutdownPlugin(0);
}

}  // namespace
}  // namespace tarnwick::testing
