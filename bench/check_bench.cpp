// tarnwick --check's core: the model of a table read from its bytes and
// every structure checked against the field description, as --check does
// before it words the findings. Bound: a table of 64 KiB within 1 ms.
#include "bench/bench_main.h"
#include "smbios/table_check.h"
#include "smbios/table_model.h"

namespace tarnwick::bench {
namespace {

void Check(benchmark::State& state, const Bytes* bytes) {
  size_t findings = 0;
  for (auto _ : state) {
    const TableModel model = ReadTableModel(*bytes);
    findings = CheckModel(model).size();
    benchmark::DoNotOptimize(findings);
  }
  state.counters["bytes"] = static_cast<double>(bytes->size());
  state.counters["findings"] = static_cast<double>(findings);
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
}

}  // namespace tarnwick::bench
