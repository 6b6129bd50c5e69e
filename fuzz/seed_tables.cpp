#include "fuzz/seed_tables.h"

namespace tarnwick::fuzzing {

// Offsets and values from DSP0134 7.1 to 7.5, 7.18, 7.12 and 7.45.
std::vector<SeedStructure> RealisticStructures() {
  return {
      {0, 0x0000, 0x1A,
       {{0x04, 1}, {0x05, 2}, {0x06, 0x00}, {0x07, 0xE8}, {0x08, 3}, {0x09, 0xFF},
        {0x0A, 0x80}, {0x0B, 0x98}, {0x12, 0x03}, {0x13, 0x0D}, {0x14, 2}, {0x15, 7}, {0x16, 0xFF}, {0x17, 0xFF}},
       {"Tarnwick Firmware Inc.", "TW.1.2.3", "03/14/2024"}},
      {1, 0x0001, 0x1B,
       {{0x04, 1}, {0x05, 2}, {0x06, 3}, {0x07, 4}, {0x08, 0x4C}, {0x09, 0x4C}, {0x0A, 0x45}, {0x0B, 0x44},
        {0x17, 0x80}, {0x18, 6}, {0x19, 5}, {0x1A, 6}},
       {"Tarnwick Systems", "Desk 5000", "Rev A", "TW-0042-7", "SKU-5000", "Desk"}},
      {2, 0x0002, 0x0F,
       {{0x04, 1}, {0x05, 2}, {0x06, 3}, {0x07, 4}, {0x08, 5}, {0x09, 0x09}, {0x0A, 6}, {0x0B, 0x03}, {0x0D, 0x0A}},
       {"Tarnwick Systems", "MB-5000", "1.01", "BB-991", " ", "Slot 0"}},
      {3, 0x0003, 0x15,
       {{0x04, 1}, {0x05, 0x83}, {0x06, 2}, {0x07, 3}, {0x08, 4}, {0x09, 3}, {0x0A, 3}, {0x0B, 3}, {0x0C, 2}},
       {"Tarnwick Systems", "Tower", "CH-17", "Asset 7"}},
      {4, 0x0004, 0x30,
       {{0x04, 1}, {0x05, 3}, {0x06, 0xB3}, {0x07, 2}, {0x08, 0xF1}, {0x09, 0x0F}, {0x0A, 0x8A}, {0x10, 3},
        {0x11, 0x8C}, {0x12, 100}, {0x14, 0xC0}, {0x15, 0x12}, {0x16, 0x10}, {0x17, 0x0E}, {0x18, 0x41},
        {0x19, 0x3E}, {0x20, 4}, {0x21, 5}, {0x22, 6}, {0x23, 8}, {0x24, 8}, {0x25, 16}, {0x26, 0xFC}, {0x28, 0xB3}},
       {"CPU0", "Tarnwick Silicon", "TS-9 4800 @ 3.6GHz", "SN-CPU0", "Caf\xE9 asset", "TS9-4800"}},
      {4, 0x0005, 0x30, {{0x04, 1}, {0x05, 3}, {0x07, 2}, {0x10, 3}, {0x12, 100}, {0x16, 0x10}, {0x17, 0x0E}},
       {"CPU1", "Tarnwick Silicon", "TS-9 4800 @ 3.6GHz"}},
      {17, 0x0011, 0x28,
       {{0x04, 0x10}, {0x0C, 0x00}, {0x0D, 0x40}, {0x0E, 0x09}, {0x10, 1}, {0x11, 2}, {0x12, 0x1A},
        {0x15, 0x60}, {0x16, 0x09}, {0x17, 3}, {0x18, 4}, {0x19, 5}, {0x1A, 6}},
       {"DIMM A1", "Bank 0", "Tarnwick Memory", "00C0FFEE", "Not Specified", "TM-16G"}},
      // 64 GB in the extended size; a third processor counting in its 2-fields.
      {17, 0x0012, 0x28, {{0x0C, 0xFF}, {0x0D, 0x7F}, {0x1E, 0x01}}, {}},
      {4, 0x0006, 0x30, {{0x18, 0x41}, {0x23, 0xFF}, {0x25, 0xFF}, {0x2A, 0x40}, {0x2B, 0x01}, {0x2E, 0x80}, {0x2F, 0x02}},
       {}},
      {11, 0x000B, 0x05, {{0x04, 3}}, {"OEM one", "\xFF\xFE", "tail "}},
      {126, 0x007E, 0x08, {{0x04, 1}}, {"inactive"}},
      {200, 0x00C8, 0x08, {{0x04, 5}, {0x05, 2}, {0x06, 0xFF}}, {"first", "second"}},
      {127, 0xFEFF, 0x04, {}, {}},
  };
}

Bytes RealisticTable() { return testing::RawTable(testing::FieldTable(RealisticStructures()), 3, 4); }

std::vector<std::pair<std::string, Bytes>> SeedTables() {
  std::vector<std::pair<std::string, Bytes>> seeds;
  const std::vector<SeedStructure> realistic = RealisticStructures();
  const Bytes table = testing::FieldTable(realistic);
  seeds.emplace_back("realistic", testing::RawTable(table, 3, 4));
  seeds.emplace_back("bare", table);
  seeds.emplace_back("major-11", testing::RawTable(table, 11, 0));
  seeds.emplace_back("major-1", testing::RawTable(table, 1, 0));

  // Cut short: inside the fourth structure's strings, and inside a header.
  Bytes cut = testing::RawTable(table, 3, 4);
  cut.resize(cut.size() / 2);
  seeds.emplace_back("cut-half", cut);
  cut.resize(11);
  seeds.emplace_back("cut-11", cut);

  // A zero length byte behind five good structures, as in Hyper-V tables.
  std::vector<SeedStructure> zero_length = realistic;
  zero_length[5].length = 0;
  seeds.emplace_back("zero-length-sixth", testing::RawTable(testing::FieldTable(zero_length), 2, 3));

  std::vector<SeedStructure> no_end = realistic;
  no_end.pop_back();
  seeds.emplace_back("no-end-marker", testing::RawTable(testing::FieldTable(no_end), 2, 8));

  // Lengths that disagree with the type: a processor too short for its
  // speeds, a BIOS too short for its release, a chassis without its type.
  std::vector<SeedStructure> short_types = realistic;
  short_types[0].length = 0x14;
  short_types[3].length = 0x05;
  short_types[4].length = 0x17;
  seeds.emplace_back("short-types", testing::RawTable(testing::FieldTable(short_types), 2, 3));

  // A formatted area longer than the rest of the table.
  Bytes overlong = testing::RawTable(table, 3, 4);
  overlong[8 + 1] = 0xFF;
  seeds.emplace_back("overlong-first", overlong);

  // More structures than the index holds.
  std::vector<SeedStructure> many(1100, SeedStructure{0x55, 0, 4, {}, {}});
  for (size_t i = 0; i < many.size(); ++i) many[i].handle = static_cast<uint16_t>(i);
  many.push_back({1, 0x2000, 0x08, {{0x04, 1}}, {"after the cap"}});
  seeds.emplace_back("over-capacity", testing::RawTable(testing::FieldTable(many), 3, 0));

  // A string of exactly 8191 bytes and one of 8192.
  std::vector<SeedStructure> long_strings = {
      {1, 1, 0x08, {{0x04, 1}, {0x05, 2}}, {std::string(8191, 'L'), std::string(8192, 'M')}}, {127, 2, 4, {}, {}}};
  seeds.emplace_back("long-strings", testing::RawTable(testing::FieldTable(long_strings), 3, 4));
  return seeds;
}

}  // namespace tarnwick::fuzzing
