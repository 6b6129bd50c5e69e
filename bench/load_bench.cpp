// Loading and indexing a table against the floor of one pass over its bytes:
// a copy (the firmware service's part) and one memchr scan of the copy (the
// least a walk for NUL pairs can read). Both are timed in alternation in the
// same run, so that the ratio holds whatever the machine's clock does. The
// benchmark's own time is one iteration: kRepetitions of each; the counters
// give one load, one floor pass and their ratio.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "bench/bench_main.h"
#include "platform/firmware_seam.h"
#include "plugin/exports.h"
#include "smbios/firmware_table.h"

namespace tarnwick::bench {
namespace {

constexpr int kRepetitions = 16;

// The byte value that the table holds least often: scanning for it visits
// every byte with the fewest stops, which is what memchr does at its best.
uint8_t RarestByte(const Bytes& bytes) {
  std::array<size_t, 256> counts{};
  for (uint8_t b : bytes) ++counts[b];
  return static_cast<uint8_t>(std::min_element(counts.begin(), counts.end()) - counts.begin());
}

void OnePass(const Bytes& bytes, uint8_t* copy, uint8_t rare) {
  std::memcpy(copy, bytes.data(), bytes.size());
  benchmark::ClobberMemory();
  const uint8_t* at = copy;
  const uint8_t* end = copy + bytes.size();
  size_t stops = 0;
  while (at < end) {
    const void* found = std::memchr(at, rare, static_cast<size_t>(end - at));
    if (found == nullptr) break;
    at = static_cast<const uint8_t*>(found) + 1;
    ++stops;
  }
  benchmark::DoNotOptimize(stops);
}

void LoadVersusFloor(benchmark::State& state, const Bytes* bytes) {
  const uint8_t rare = RarestByte(*bytes);
  std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes->size()]);
  LoadOrDie(*bytes);
  const uint32_t indexed = g_structure_index.count;
  double load_seconds = 0.0;
  double floor_seconds = 0.0;
  for (auto _ : state) {
    double start = NowSeconds();
    for (int i = 0; i < kRepetitions; ++i) OnePass(*bytes, copy.get(), rare);
    floor_seconds += NowSeconds() - start;

    start = NowSeconds();
    for (int i = 0; i < kRepetitions; ++i) {
      benchmark::DoNotOptimize(LoadFirmwareTable());
      benchmark::ClobberMemory();
    }
    load_seconds += NowSeconds() - start;
  }
  const double loads = static_cast<double>(state.iterations()) * kRepetitions;
  state.counters["bytes"] = static_cast<double>(bytes->size());
  state.counters["structures"] = indexed;
  state.counters["load_ns"] = load_seconds / loads * 1e9;
  state.counters["floor_ns"] = floor_seconds / loads * 1e9;
  state.counters["ratio"] = floor_seconds > 0 ? load_seconds / floor_seconds : 0.0;
}

// What the host's start costs: the load, the banner's variable query and the
// seed, and the release at the end.
void InitializeAndShutdown(benchmark::State& state, const Bytes* bytes) {
  platform::InstallMemoryFirmware(bytes->data(), static_cast<uint32_t>(bytes->size()));
  for (auto _ : state) {
    benchmark::DoNotOptimize(InitializePlugin());
    benchmark::DoNotOptimize(ShutdownPlugin(0));
  }
}

}  // namespace

void RegisterBenchmarks() {
  static const std::vector<NamedTable> generated = {
      {"generated-1", GeneratedTable(1)},
      {"generated-100", GeneratedTable(100)},
      {"generated-1024", GeneratedTable(1024)},
      {"generated-1100", GeneratedTable(1100)},
      {"generated-64KiB", TableOfAtLeast(64 * 1024)},
      {"longest-string", LongestStringTable()},
  };
  for (const auto* list : {&CorpusTables(), &generated}) {
    for (const NamedTable& table : *list) {
      benchmark::RegisterBenchmark(("Load/" + table.name).c_str(), LoadVersusFloor, &table.bytes);
    }
  }
  for (const NamedTable& table : generated) {
    if (table.name != "generated-100" && table.name != "generated-64KiB") continue;
    benchmark::RegisterBenchmark(("InitializeShutdown/" + table.name).c_str(), InitializeAndShutdown,
                                 &table.bytes);
  }
}

}  // namespace tarnwick::bench
