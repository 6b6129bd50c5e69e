#include "bench/bench_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/table_builder.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick::bench {
namespace {

using Structure = testing::FieldStructure;

// Field values and strings as real firmware writes them (DSP0134 7.1 to 7.5
// and 7.18); string numbers count from 1.
Structure Identity(uint8_t type, bool chassis_tag = true) {
  switch (type) {
    case 0:
      return {0, 0, 0x18, {{4, 1}, {5, 2}, {8, 3}, {0x14, 1}, {0x15, 15}},
              {"American Megatrends Inc.", "2.17.1246", "03/15/2021"}};
    case 1:
      return {1, 0, 0x1B, {{4, 1}, {5, 2}, {6, 3}, {7, 4}, {0x19, 5}, {0x1A, 6}},
              {"Example Computer Corporation", "Model 7 Workstation", "Rev 1.0", "CZC1234XYZ", "SKU-77",
               "Workstations"}};
    case 2:
      return {2, 0, 0x0F, {{4, 1}, {5, 2}, {6, 3}, {7, 4}, {8, 5}},
              {"Example Computer Corporation", "X570-BOARD", "1.02", "BSN-0001", "Board Asset 17"}};
    case 3:
      return {3, 0, 0x15, {{4, 1}, {5, 0x09}, {6, 2}, {7, 3}, {8, static_cast<uint8_t>(chassis_tag ? 4 : 0)}},
              {"Example Computer Corporation", "Chassis Version", "CSN-0001", "Chassis Asset 42"}};
    default:
      return {4, 0, 0x2A, {{4, 1}, {5, 3}, {6, 0xB3}, {7, 2}, {0x10, 3}, {0x12, 100}, {0x16, 0xB8}, {0x17, 0x0B},
                        {0x18, 0x41}, {0x20, 4}, {0x21, 5}, {0x22, 6}, {0x23, 32}, {0x24, 32}, {0x25, 64}},
              {"CPU0", "GenuineIntel", "Intel(R) Xeon(R) Gold 6338 CPU @ 2.00GHz", "Serial Not Set",
               "Asset Not Set", "Part Not Set"}};
  }
}

Structure MemoryDevice(uint32_t number) {
  return {kFillerType, 0, 0x28, {{0x0C, 0x00}, {0x0D, 0x40}, {0x10, 1}, {0x11, 2}, {0x17, 3}, {0x18, 4}, {0x19, 5},
                                 {0x1A, 6}},  // 16 GB
          {"DIMM_" + std::to_string(number), "BANK " + std::to_string(number % 8), "Samsung",
           std::to_string(10000000 + number), "Not Specified", "M393A4K40BB0-CPB"}};
}

Structure EndOfTable() { return {kEndOfTableType, 0, 4, {}, {}}; }

// Handles count up from 0 in table order; SMBIOS 3.4 header.
Bytes WithHeader(std::vector<Structure> structures) {
  uint16_t handle = 0;
  for (Structure& s : structures) s.handle = handle++;
  return testing::RawTable(testing::FieldTable(structures), 3, 4);
}

size_t EncodedSize(const Structure& s) {
  size_t size = s.length + 1 + (s.strings.empty() ? 1 : 0);
  for (const std::string& text : s.strings) size += text.size() + 1;
  return size;
}

}  // namespace

const std::vector<NamedTable>& CorpusTables() {
  static const std::vector<NamedTable> tables = [] {
    std::vector<NamedTable> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(TARNWICK_CORPUS_DIR, error)) {
      if (entry.path().extension() != ".rsmb") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      found.push_back({entry.path().stem().string(),
                       Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
    }
    std::sort(found.begin(), found.end(), [](const NamedTable& a, const NamedTable& b) { return a.name < b.name; });
    return found;
  }();
  return tables;
}

Bytes GeneratedTable(uint32_t count) {
  std::vector<Structure> structures;
  // System information first, so that a table of one structure answers _smbmfg.
  for (uint8_t type : {1, 0, 2, 3, 4}) {
    if (structures.size() < count) structures.push_back(Identity(type));
  }
  while (structures.size() + (count >= 7 ? 1 : 0) < count) {
    structures.push_back(MemoryDevice(static_cast<uint32_t>(structures.size())));
  }
  if (count >= 7) structures.push_back(EndOfTable());
  return WithHeader(structures);
}

Bytes TableOfAtLeast(uint32_t bytes) {
  std::vector<Structure> structures;
  size_t size = 0;
  for (uint8_t type = 0; type <= 4; ++type) {
    structures.push_back(Identity(type));
    size += EncodedSize(structures.back());
  }
  while (size + EncodedSize(EndOfTable()) < bytes) {
    structures.push_back(MemoryDevice(static_cast<uint32_t>(structures.size())));
    size += EncodedSize(structures.back());
  }
  structures.push_back(EndOfTable());
  return WithHeader(structures);
}

namespace {

// Memory devices, then `tail` in the index's last entries.
Bytes FilledUpTo(const std::vector<Structure>& tail) {
  std::vector<Structure> structures;
  while (structures.size() + tail.size() < kMaxStructures) {
    structures.push_back(MemoryDevice(static_cast<uint32_t>(structures.size())));
  }
  structures.insert(structures.end(), tail.begin(), tail.end());
  return WithHeader(structures);
}

}  // namespace

Bytes WorstCaseTable() { return FilledUpTo({Identity(4)}); }

Bytes IdentityLastTable() {
  return FilledUpTo({Identity(0), Identity(1), Identity(3, false), Identity(4), Identity(2)});
}

Bytes AllOfTypeTable(uint8_t type) {
  std::vector<Structure> structures;
  while (structures.size() < kMaxStructures) {
    structures.push_back(type == kFillerType ? MemoryDevice(static_cast<uint32_t>(structures.size()))
                                             : Identity(type));
  }
  return WithHeader(structures);
}

Bytes LongestStringTable() {
  Structure system = Identity(1);
  system.strings[0] = std::string(8191, 'M');
  return WithHeader({Identity(0), system, EndOfTable()});
}

void LoadOrDie(const Bytes& bytes) {
  if (LoadTable(bytes.data(), static_cast<uint32_t>(bytes.size())) != kLoaded) {
    std::fprintf(stderr, "bench: a table of %zu bytes did not load\n", bytes.size());
    std::exit(2);
  }
}

}  // namespace tarnwick::bench
