// What every benchmark program shares: its main (which registers the
// program's benchmarks, for tables known only at run time) and per-call
// timing over the corpus.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/bench_tables.h"

namespace tarnwick::bench {

// Defined by each program: registers its benchmarks before they run.
void RegisterBenchmarks();

inline double NowSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Times `call` in batches of kCallsPerBatch on every corpus table in turn;
// loading a table is not timed. The benchmark's time is per batch; the
// counters are per call: the mean over the tables of each table's median
// batch (ns_per_call) and the slowest table's median (worst_ns), named in the
// label. Medians keep an interrupt on a shared machine from naming the
// slowest table. Register with UseManualTime().
inline constexpr int kCallsPerBatch = 64;

inline double Median(std::vector<double>& values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

template <class Call>
void PerCallOverCorpus(benchmark::State& state, Call&& call) {
  const auto& tables = CorpusTables();
  if (tables.empty()) {
    state.SkipWithError("corpus not found");
    return;
  }
  std::vector<std::vector<double>> batches(tables.size());
  size_t next = 0;
  for (auto _ : state) {
    const size_t which = next;
    next = (next + 1) % tables.size();
    LoadOrDie(tables[which].bytes);
    const double start = NowSeconds();
    for (int i = 0; i < kCallsPerBatch; ++i) {
      call();
      benchmark::ClobberMemory();
    }
    const double elapsed = NowSeconds() - start;
    batches[which].push_back(elapsed);
    state.SetIterationTime(elapsed);
  }
  double sum = 0.0;
  size_t measured = 0;
  double worst = 0.0;
  size_t worst_table = 0;
  for (size_t t = 0; t < tables.size(); ++t) {
    if (batches[t].empty()) continue;
    const double median = Median(batches[t]) / kCallsPerBatch;
    sum += median;
    ++measured;
    if (median > worst) {
      worst = median;
      worst_table = t;
    }
  }
  state.counters["ns_per_call"] = measured == 0 ? 0.0 : sum / static_cast<double>(measured) * 1e9;
  state.counters["worst_ns"] = worst * 1e9;
  state.SetLabel("slowest: " + tables[worst_table].name);
}

// The same on one table: batches of kCallsPerBatch calls, the median batch
// per call as ns_per_call. Register with UseManualTime().
template <class Call>
void PerCallOnTable(benchmark::State& state, const Bytes& table, Call&& call) {
  LoadOrDie(table);
  std::vector<double> batches;
  for (auto _ : state) {
    const double start = NowSeconds();
    for (int i = 0; i < kCallsPerBatch; ++i) {
      call();
      benchmark::ClobberMemory();
    }
    const double elapsed = NowSeconds() - start;
    batches.push_back(elapsed);
    state.SetIterationTime(elapsed);
  }
  if (!batches.empty()) state.counters["ns_per_call"] = Median(batches) / kCallsPerBatch * 1e9;
}

}  // namespace tarnwick::bench
