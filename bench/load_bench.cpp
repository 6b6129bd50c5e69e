// Loading and indexing a table: the check of its header, the walk and the
// index that InitializePlugin builds once per start of the host. Bounds: at
// most 5 us on every corpus table, at most 50 us on a table of 64 KiB.
#include "bench/bench_main.h"
#include "host/exports.h"
#include "plugin/lifecycle.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick::bench {
namespace {

void Load(benchmark::State& state, const Bytes* bytes) {
  const auto size = static_cast<uint32_t>(bytes->size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(LoadTable(bytes->data(), size));
    benchmark::ClobberMemory();
  }
  state.counters["bytes"] = static_cast<double>(size);
  state.counters["structures"] = g_structure_index.count;
}

// What the host's start costs: the load, the banner's variable query and the
// seed, and the release at the end.
void InitializeAndShutdown(benchmark::State& state, const Bytes* bytes) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(InitializeWithTable(bytes->data(), static_cast<uint32_t>(bytes->size())));
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
      benchmark::RegisterBenchmark(("Load/" + table.name).c_str(), Load, &table.bytes);
    }
  }
  for (const NamedTable& table : generated) {
    if (table.name != "generated-100" && table.name != "generated-64KiB") continue;
    benchmark::RegisterBenchmark(("InitializeShutdown/" + table.name).c_str(), InitializeAndShutdown,
                                 &table.bytes);
  }
}

}  // namespace tarnwick::bench
