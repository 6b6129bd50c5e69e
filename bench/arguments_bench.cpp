// Splitting and number parsing, the part of every structure function that
// reads its arguments: on texts as batch files write them, and on the
// longest text the host's buffer holds (8191 units) in three shapes.
#include <string>

#include "bench/bench_main.h"
#include "functions/argument_list.h"

namespace tarnwick::bench {
namespace {

// What a field function does with the list: parse its (at most four)
// present arguments.
void SplitAndParse(benchmark::State& state, std::u16string text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(SplitArguments(text.c_str()));
    for (int k = 0; k < 4; ++k) {
      uint32_t value = 0;
      if (g_arguments.lengths[k] > 0) benchmark::DoNotOptimize(ParseNumber(g_arguments.texts[k], &value));
      benchmark::DoNotOptimize(value);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Parse(benchmark::State& state, std::u16string text) {
  for (auto _ : state) {
    uint32_t value = 0;
    benchmark::DoNotOptimize(ParseNumber(text.c_str(), &value));
    benchmark::DoNotOptimize(value);
  }
}

std::u16string Repeated(std::u16string_view piece, size_t units, std::u16string text = {}) {
  while (text.size() < units) text += piece;
  text.resize(units);
  return text;
}

}  // namespace

void RegisterBenchmarks() {
  const std::pair<const char*, std::u16string> texts[] = {
      {"typical/4,0x16", u"4,0x16"},
      {"typical/1,4,,1", u"1,4,,1"},
      {"typical/blanks", u"  4 ,  22  "},
      {"typical/quoted", u"\"1,2\",3"},
      // One number of 8191 digits: stored whole, then parsed to its end.
      {"8191-units/one-argument", Repeated(u"7", 8191)},
      // 4096 arguments: all but the first 1024 are dropped.
      {"8191-units/many-arguments", Repeated(u"1,", 8191)},
      // Lower-case words and blanks inside quotes: upper-casing and the
      // trailing trim at work on every character.
      {"8191-units/quoted-words", Repeated(u"word ", 8190, u"\"") + u'"'},
  };
  for (const auto& [name, text] : texts) {
    benchmark::RegisterBenchmark((std::string("SplitAndParse/") + name).c_str(), SplitAndParse, text);
  }
  for (const char16_t* number : {u"22", u"0x16", u"4294967295", u"0xFFFFFFFF"}) {
    const std::u16string text(number);
    benchmark::RegisterBenchmark(("ParseNumber/" + std::string(text.begin(), text.end())).c_str(), Parse, text);
  }
}

}  // namespace tarnwick::bench
