// tarnwick's own work, where a user feels it: expanding a NAME of nested
// calls (in the process, at four lengths up to the shell's line), and a
// batch file run by the built tarnwick at four sizes up to the 16 MiB cap in
// every output mode, with the run's peak resident memory (ru_maxrss of the
// child). Per-character and per-byte figures that stay level across the
// sizes show linear growth.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_main.h"
#include "cli/names/name_call.h"
#include "smbios/model/sample_table.h"

namespace tarnwick::bench {
namespace {

// `depth` calls of @smbcount, each the argument of the next.
std::string Nested(size_t depth) {
  std::string text;
  for (size_t i = 0; i < depth; ++i) text += "@smbcount[";
  return text + "17" + std::string(depth, ']');
}

// One @smbstring whose argument holds `count` calls side by side.
std::string SideBySide(size_t count) {
  std::string text = "@smbstring[1,4";
  for (size_t i = 0; i < count; ++i) text += ",@smbcount[17]";
  return text + "]";
}

void Expand(benchmark::State& state, std::string name) {
  static const Bytes table = SampleTable();
  LoadOrDie(table);
  for (auto _ : state) {
    const cli::CallResult result = cli::CallName(name);
    if (!result.ok) state.SkipWithError(("refused: " + name.substr(0, 40)).c_str());
    benchmark::DoNotOptimize(result.value.data());
  }
  state.counters["characters"] = static_cast<double>(name.size());
  state.counters["ns_per_character"] = benchmark::Counter(
      static_cast<double>(name.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Runs tarnwick on the batch file, its output to /dev/null; false when it
// does not start or does not end with status 0.
bool RunTarnwick(const std::vector<std::string>& arguments, double* seconds, long* peak_kib) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(TARNWICK_PROGRAM));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const double start = NowSeconds();
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    execv(TARNWICK_PROGRAM, argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return false;
  *seconds = NowSeconds() - start;
  *peak_kib = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BatchFile(benchmark::State& state, std::string mode, std::string path) {
  const double bytes = static_cast<double>(std::filesystem::file_size(path));
  std::vector<std::string> arguments = {"--sample", "--file", path};
  if (!mode.empty()) arguments.push_back(mode);
  long peak_kib = 0;
  for (auto _ : state) {
    double seconds = 0;
    if (!RunTarnwick(arguments, &seconds, &peak_kib)) state.SkipWithError("tarnwick failed");
    state.SetIterationTime(seconds);
  }
  state.counters["MiB"] = bytes / (1 << 20);
  state.counters["peak_MiB"] = static_cast<double>(peak_kib) / 1024;
  state.counters["ns_per_byte"] =
      benchmark::Counter(bytes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Batch files of short NAMEs, one per line, removed when the program ends.
std::string BatchFileOf(size_t mib) {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-bench-XXXXXX").string();
    const std::filesystem::path made = mkdtemp(pattern.data());
    std::atexit([] { std::filesystem::remove_all(folder); });
    return made;
  }();
  const std::filesystem::path path = folder / (std::to_string(mib) + "MiB.btm");
  const std::string line = "_smbver\n";  // 8 bytes: a MiB holds whole lines
  std::ofstream out(path, std::ios::binary);
  for (size_t i = 0; i < (mib << 20) / line.size(); ++i) out << line;
  return path.string();
}

}  // namespace

void RegisterBenchmarks() {
  for (const size_t characters : {1024, 2048, 4096, 8191}) {
    const std::string nested = Nested((characters - 2) / 11), side = SideBySide((characters - 15) / 14);
    benchmark::RegisterBenchmark(("Expand/nested/" + std::to_string(nested.size())).c_str(), Expand, nested);
    benchmark::RegisterBenchmark(("Expand/side-by-side/" + std::to_string(side.size())).c_str(), Expand, side);
  }
  for (const size_t mib : {2, 4, 8, 16}) {
    const std::string path = BatchFileOf(mib);
    for (const char* mode : {"", "--json", "--cmd"}) {
      const std::string label = std::string("BatchFile/") + (*mode ? mode + 2 : "lines") + "/" + std::to_string(mib) + "MiB";
      benchmark::RegisterBenchmark(label.c_str(), BatchFile, mode, path)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace tarnwick::bench
