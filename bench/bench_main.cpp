#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_main.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (tarnwick::bench::CorpusTables().empty()) {
    std::fprintf(stderr, "bench: no .rsmb tables in %s\n", TARNWICK_CORPUS_DIR);
    // In CI the corpus is part of the checkout's surroundings: its absence
    // is a fault, not a reason to measure less.
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::strcmp(ci, "true") == 0) return 1;
  }
  tarnwick::bench::RegisterBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
