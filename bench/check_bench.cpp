// tarnwick --check's core: the model of a table read from its bytes and
// every structure checked against the field description and across
// structures, as --check does before it words the findings. Bounds: a table
// of 64 KiB within 1 ms; a table of 65,535 structures whose handle fields
// point everywhere in time and memory linear in its structures (level
// ns_per_structure and peak_bytes_per_structure at 4,095, 16,383 and
// 65,535; the heap's peak during the check, past what was held before).
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "bench/bench_main.h"
#include "smbios/check/table_check.h"
#include "smbios/model/table_model.h"
#include "tests/support/table_builder.h"

// Heap bytes in use, and their peak, as this program's allocations count
// them: what a check holds at most, past what was held before it.
namespace {
std::atomic<size_t> g_in_use{0};
std::atomic<size_t> g_peak{0};
}  // namespace

void* operator new(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  const size_t now = g_in_use += malloc_usable_size(block);
  for (size_t peak = g_peak; now > peak && !g_peak.compare_exchange_weak(peak, now);) {
  }
  return block;
}
// Out of line: g++ would otherwise see free() take what operator new gave
// and warn of a mismatch (-Wmismatched-new-delete), which this pair is not.
__attribute__((noinline)) void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  g_in_use -= malloc_usable_size(block);
  std::free(block);
}
void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace tarnwick::bench {
namespace {

void Check(benchmark::State& state, const Bytes* bytes) {
  FindingCounts counts;
  for (auto _ : state) {
    const TableModel model = ReadTableModel(*bytes);
    counts = {};
    CheckModel(model, &counts);
    benchmark::DoNotOptimize(counts);
  }
  state.counters["bytes"] = static_cast<double>(bytes->size());
  state.counters["findings"] = static_cast<double>(counts.Total());
}

// `count` structures, handles 0 to count - 1, of the types whose fields hold
// handles (processors' caches, memory arrays and devices, mapped
// addresses, cooling devices, power supplies), every handle field naming a
// structure drawn across the whole table; the mapped ranges all overlap.
Bytes HandlesEverywhere(uint32_t count) {
  using testing::Formatted;
  std::vector<testing::Structure> structures;
  uint32_t draw = 12345;
  const auto any = [&] {
    draw = draw * 1103515245u + 12345u;
    return static_cast<uint16_t>((draw >> 8) % count);
  };
  for (uint32_t i = 0; i + 1 < count; ++i) {
    const uint16_t a = any(), b = any(), c = any();
    const auto lo = [](uint16_t h) { return static_cast<uint8_t>(h); };
    const auto hi = [](uint16_t h) { return static_cast<uint8_t>(h >> 8); };
    const auto handle = static_cast<uint16_t>(i);
    switch (i % 6) {
      case 0: structures.push_back({4, handle, Formatted(0x30, {{0x1A, lo(a)}, {0x1B, hi(a)}, {0x1C, lo(b)}, {0x1D, hi(b)}, {0x1E, lo(c)}, {0x1F, hi(c)}}), {}}); break;
      case 1: structures.push_back({16, handle, Formatted(0x17, {{0x0B, lo(a)}, {0x0C, hi(a)}, {0x0D, 4}}), {}}); break;
      case 2: structures.push_back({17, handle, Formatted(0x28, {{4, lo(a)}, {5, hi(a)}, {6, lo(b)}, {7, hi(b)}}), {}}); break;
      case 3: structures.push_back({19, handle, Formatted(0x1F, {{8, 0xFF}, {9, 0xFF}, {0x0C, lo(a)}, {0x0D, hi(a)}}), {}}); break;
      case 4: structures.push_back({20, handle, Formatted(0x23, {{8, 0xFF}, {0x0C, lo(a)}, {0x0D, hi(a)}, {0x0E, lo(b)}, {0x0F, hi(b)}}), {}}); break;
      default: structures.push_back({39, handle, Formatted(0x16, {{0x10, lo(a)}, {0x11, hi(a)}, {0x12, lo(b)}, {0x13, hi(b)}, {0x14, lo(c)}, {0x15, hi(c)}}), {}}); break;
    }
  }
  structures.push_back({127, static_cast<uint16_t>(count - 1), {}, {}});
  return testing::RawTable(testing::BareTable(structures), 3, 4);
}

void CheckHandles(benchmark::State& state, const Bytes* bytes, uint32_t count) {
  const size_t before = g_in_use;
  g_peak = before;
  Check(state, bytes);
  state.counters["ns_per_structure"] =
      benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
  state.counters["peak_bytes_per_structure"] = static_cast<double>(g_peak - before) / count;
}

}  // namespace

void RegisterBenchmarks() {
  static const std::vector<NamedTable> generated = {
      {"generated-64KiB", TableOfAtLeast(64 * 1024)},
  };
  for (const auto* list : {&CorpusTables(), &generated}) {
    for (const NamedTable& table : *list) {
      benchmark::RegisterBenchmark(("Check/" + table.name).c_str(), Check, &table.bytes);
    }
  }
  // Largest last: the peak that a smaller table's check sets is below the larger's.
  static std::vector<Bytes> tables;
  tables.reserve(3);
  for (const uint32_t count : {4095u, 16383u, 65535u}) {
    tables.push_back(HandlesEverywhere(count));
    benchmark::RegisterBenchmark(("CheckHandles/" + std::to_string(count)).c_str(), CheckHandles, &tables.back(),
                                 count);
  }
}

}  // namespace tarnwick::bench
