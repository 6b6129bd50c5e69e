// tarnwick --decode: a table's model read from its bytes and every structure
// decoded and written, as lines and as JSON. Tables of 16, 32 and 64 KiB
// show the time per byte staying flat (linear time); the output's size per
// table byte shows its memory staying a small multiple of the table.
#include "bench/bench_main.h"
#include "cli/output/decode_output.h"
#include "smbios/model/table_model.h"

namespace tarnwick::bench {
namespace {

void Decode(benchmark::State& state, const Bytes* bytes, bool json) {
  size_t written = 0;
  for (auto _ : state) {
    const TableModel model = ReadTableModel(*bytes);
    written = (json ? cli::DecodeJson(model, {}) : cli::DecodeText(model, {})).size();
    benchmark::DoNotOptimize(written);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes->size()));
  state.counters["bytes"] = static_cast<double>(bytes->size());
  state.counters["written_per_byte"] = static_cast<double>(written) / static_cast<double>(bytes->size());
}

}  // namespace

void RegisterBenchmarks() {
  static const std::vector<NamedTable> generated = {
      {"generated-16KiB", TableOfAtLeast(16 * 1024)},
      {"generated-32KiB", TableOfAtLeast(32 * 1024)},
      {"generated-64KiB", TableOfAtLeast(64 * 1024)},
  };
  for (const auto* list : {&CorpusTables(), &generated}) {
    for (const NamedTable& table : *list) {
      benchmark::RegisterBenchmark(("DecodeText/" + table.name).c_str(), Decode, &table.bytes, false);
      benchmark::RegisterBenchmark(("DecodeJson/" + table.name).c_str(), Decode, &table.bytes, true);
    }
  }
}

}  // namespace tarnwick::bench
