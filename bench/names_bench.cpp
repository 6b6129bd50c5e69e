// Every variable and function, one call at a time: on the corpus (mean and
// slowest table), in the worst case of the index (the structure asked for is
// among the last of 1024), and with the longest string a result can hold.
#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "bench/bench_main.h"
#include "host/export_table.h"
#include "smbios/reading/structure_lookup.h"

namespace tarnwick::bench {
namespace {

char16_t g_buffer[kMaxArgLen];

const Bytes& WorstCase() {
  static const Bytes table = WorstCaseTable();
  return table;
}

const Bytes& IdentityLast() {
  static const Bytes table = IdentityLastTable();
  return table;
}

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// Every structure counts toward the total: 1024 processors, or 1024 memory
// devices.
const Bytes& AllOfType(uint8_t type) {
  static const Bytes processors = AllOfTypeTable(4);
  static const Bytes devices = AllOfTypeTable(kFillerType);
  return type == 4 ? processors : devices;
}

const Bytes& LongestString() {
  static const Bytes table = LongestStringTable();
  return table;
}

// A function call as the host makes it: the argument text goes into the
// buffer, which then receives the result. Refilling the buffer is part of
// every timed call.
struct FunctionCall {
  NameExport entry;
  std::u16string argument;
  void operator()() const {
    std::memcpy(g_buffer, argument.c_str(), (argument.size() + 1) * sizeof(char16_t));
    entry(g_buffer);
  }
};

NameExport Find(std::u16string_view name) {
  if (const ExportEntry* row = FindName(name)) return row->entry;
  std::fprintf(stderr, "bench: no export named %s\n", Narrow(name).c_str());
  std::exit(2);
}

void VariableOverCorpus(benchmark::State& state, NameExport entry) {
  g_buffer[0] = 0;
  PerCallOverCorpus(state, [entry] { entry(g_buffer); });
}

// FindStructure alone: the memory device of handle 1022 is the last of 1023
// structures of its type, every one of which the lookup visits.
void LookupByHandle(benchmark::State& state) {
  PerCallOnTable(state, WorstCase(), [] { benchmark::DoNotOptimize(FindStructure(17, 1022)); });
}

void VariableOnTable(benchmark::State& state, NameExport entry, const Bytes* table) {
  g_buffer[0] = 0;
  PerCallOnTable(state, *table, [entry] { entry(g_buffer); });
}

void FunctionOverCorpus(benchmark::State& state, FunctionCall call) { PerCallOverCorpus(state, call); }

void FunctionOnTable(benchmark::State& state, FunctionCall call, const Bytes* table) {
  PerCallOnTable(state, *table, call);
}

// Arguments as batch files write them: the system manufacturer as a string,
// the chassis type byte, the processor's current speed, its ID's low half
// and its whole ID, in decimal and in hexadecimal.
struct FunctionCase {
  std::u16string_view name;
  std::u16string_view argument;
};
constexpr FunctionCase kCorpusCalls[] = {
    {u"@smbstring", u"1,4"},     {u"@smbbyte", u"3,5"},     {u"@smbbyte", u"3,5,,1"},
    {u"@smbword", u"4,0x16"},    {u"@smbword", u"4,0x16,,1"}, {u"@smbdword", u"4,8"},
    {u"@smbdword", u"4,8,,1"},   {u"@smbqword", u"4,8"},    {u"@smbqword", u"4,8,,1"},
    {u"@randx", u""},            {u"@randx", u"1024"},      {u"@smbcount", u"17"},
    {u"@smbhandle", u"17,2"},    {u"@smbstrnum", u"1,5"},   {u"@smbreal", u"_smbserial"},
    {u"@smbreal", u"_smbsku"},   {u"@smbreal", u"_smbuuid"}};

// On the processor-last table of 1024 structures: the processor is the last
// entry; the memory device of handle 1022 is the last of 1023 entries of its
// type, which a lookup by handle visits one by one.
constexpr FunctionCase kWorstCalls[] = {
    {u"@smbstring", u"4,0x10"}, {u"@smbbyte", u"4,5"},  {u"@smbword", u"4,0x16"},
    {u"@smbdword", u"4,8"},     {u"@smbqword", u"4,8"}, {u"@smbword", u"4,0x16,1023"},
    {u"@smbword", u"17,0x0C,1022"}, {u"@smbstring", u"17,0x10,1022"}, {u"@smbcount", u"17"},
    {u"@smbhandle", u"17,1023"},    {u"@smbstrnum", u"17,6,1022"}, {u"@smbreal", u"_smbcpuversion"}};

// "@smbword:4,0x16": brackets would need escaping in --benchmark_filter.
std::string CallName(const FunctionCase& c) { return Narrow(c.name) + ":" + Narrow(c.argument); }

}  // namespace

void RegisterBenchmarks() {
  for (const ExportEntry& row : kExportTable) {
    if (row.is_function) continue;
    const std::string name = Narrow(row.name);
    benchmark::RegisterBenchmark(("Variable/corpus/" + name).c_str(), VariableOverCorpus, row.entry)->UseManualTime();
    benchmark::RegisterBenchmark(("Variable/last-of-1024/" + name).c_str(), VariableOnTable, row.entry,
                                 &IdentityLast())
        ->UseManualTime();
  }
  for (std::u16string_view name : {u"_smbmemory", u"_smbcpucount", u"_smbcores", u"_smbthreads"}) {
    const uint8_t type = name == u"_smbmemory" ? kFillerType : 4;
    benchmark::RegisterBenchmark(("Variable/1024-of-its-type/" + Narrow(name)).c_str(), VariableOnTable,
                                 Find(name), &AllOfType(type))
        ->UseManualTime();
  }
  for (std::u16string_view name : {u"_smbmfg", u"_smbproduct"}) {
    benchmark::RegisterBenchmark(("Variable/8191-byte-string/" + Narrow(name)).c_str(), VariableOnTable,
                                 Find(name), &LongestString())
        ->UseManualTime();
  }
  for (const FunctionCase& c : kCorpusCalls) {
    const FunctionCall call{Find(c.name), std::u16string(c.argument)};
    benchmark::RegisterBenchmark(("Function/corpus/" + CallName(c)).c_str(), FunctionOverCorpus, call)
        ->UseManualTime();
  }
  benchmark::RegisterBenchmark("Lookup/last-of-1024/handle", LookupByHandle)->UseManualTime();
  for (const FunctionCase& c : kWorstCalls) {
    const FunctionCall call{Find(c.name), std::u16string(c.argument)};
    benchmark::RegisterBenchmark(("Function/last-of-1024/" + CallName(c)).c_str(), FunctionOnTable, call,
                                 &WorstCase())
        ->UseManualTime();
  }
  benchmark::RegisterBenchmark("Function/8191-byte-string/@smbstring:1,4", FunctionOnTable,
                               FunctionCall{Find(u"@smbstring"), u"1,4"}, &LongestString())
      ->UseManualTime();
}

}  // namespace tarnwick::bench
