// Table bytes in, as the firmware-table service would hand them to the
// loader; then every variable and a spread of field-function calls aimed at
// the structures that were indexed. Checks that the index describes the
// table, that every result is what the table holds, and that nothing reads
// or writes outside the table and the result buffer (ASan).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "functions/argument_list.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/quiet_host.h"
#include "fuzz/table_reference.h"
#include "plugin/lifecycle.h"
#include "host/exports.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/structure_lookup.h"
#include "smbios/check/table_check.h"

using namespace tarnwick;
using namespace tarnwick::fuzzing;

namespace {

constexpr uint32_t kHeaderSize = 8;

// Hands `text` to a call, and reads its result back, leaving junk behind.
// A call writes its result's NUL, and "N/A" before it may have left one at
// unit 3: the scrub covers the result and a margin beyond either.
constexpr size_t kScrubMargin = 64;
void Hand(char16_t* buffer, std::u16string_view text) {
  text.copy(buffer, text.size());
  buffer[text.size()] = 0;
}
std::u16string TakeResult(char16_t* buffer) {
  std::u16string text(TerminatedText(buffer));
  std::fill_n(buffer, std::max(text.size() + 1, kScrubMargin), kJunk);
  return text;
}

// A text no variable can produce: shows that a variable left the buffer alone.
constexpr std::u16string_view kUntouched = u"\uFFFEuntouched";

void CheckIndex(const uint8_t* data, uint32_t size) {
  const FirmwareTable& table = g_firmware_table;
  const StructureIndex& index = g_structure_index;
  FUZZ_REQUIRE(table.buffer != nullptr && table.size == size);
  FUZZ_REQUIRE(std::memcmp(table.buffer, data, size) == 0);
  FUZZ_REQUIRE(index.count >= 1 && index.count <= kMaxStructures);
  const uint8_t* begin = table.buffer;
  const uint8_t* end = begin + size;

  // The walk starts behind the header only when the header describes this
  // buffer; the version is captured from that header and from no other.
  const bool behind_header = index.entries[0] == begin + kHeaderSize;
  FUZZ_REQUIRE(behind_header || index.entries[0] == begin);
  if (behind_header) {
    FUZZ_REQUIRE(size >= kHeaderSize + 6 && begin[1] >= 2 && begin[1] <= 10);
    FUZZ_REQUIRE(((begin[4] | (begin[5] << 8)) + kHeaderSize) % 0x10000 == size % 0x10000);
    FUZZ_REQUIRE(g_smbios_version.major == begin[1] && g_smbios_version.minor == begin[2]);
  } else {
    FUZZ_REQUIRE(g_smbios_version.major == 0 && g_smbios_version.minor == 0);
  }

  // Entries follow each other without gaps, each whole inside the buffer.
  for (uint32_t i = 0; i < index.count; ++i) {
    const uint8_t* s = index.entries[i];
    const uint8_t* following = StructureEnd(s, begin, end);
    FUZZ_REQUIRE(following != nullptr && following <= end);
    const uint8_t* next = begin;
    FUZZ_REQUIRE(NextStructure(s, &next));
    FUZZ_REQUIRE(next == ((s[0] == kEndOfTableType || following == end) ? nullptr : following));
    if (i + 1 < index.count) {
      FUZZ_REQUIRE(s[0] != kEndOfTableType && index.entries[i + 1] == following);
    }
  }
  // The walk stopped for one of its reasons only.
  const uint8_t* last = index.entries[index.count - 1];
  const uint8_t* after_last = StructureEnd(last, begin, end);
  FUZZ_REQUIRE(index.count == kMaxStructures || last[0] == kEndOfTableType || after_last == end ||
               StructureEnd(after_last, begin, end) == nullptr);
  FUZZ_REQUIRE(!NextStructure(nullptr, nullptr) && !NextStructure(end, nullptr) && !NextStructure(end - 1, nullptr));

  // The first structure of each type, as every variable looks it up.
  uint32_t first[256];
  std::fill_n(first, 256, kMaxStructures);
  for (uint32_t i = index.count; i-- > 0;) first[index.entries[i][0]] = i;
  for (uint32_t type = 0; type < 256; ++type) {
    const uint8_t* found = FindStructure(static_cast<uint8_t>(type), kAnyHandle);
    FUZZ_REQUIRE(first[type] == kMaxStructures ? found == nullptr : found == index.entries[first[type]]);
    FUZZ_REQUIRE(first[type] == kMaxStructures ? index.first_of_type[type] == kNoStructure
                                               : index.first_of_type[type] == first[type]);
  }

  // Lookups by the type and handle of the first and last entries (all
  // entries would cost a square of the count per input): the first entry in
  // table order that bears both.
  for (uint32_t i = 0; i < index.count; i = (i == 15 && index.count > 32) ? index.count - 16 : i + 1) {
    const uint8_t* s = index.entries[i];
    const uint16_t handle = static_cast<uint16_t>(s[2] | (s[3] << 8));
    const uint8_t* expected = nullptr;
    for (uint32_t j = 0; j < index.count && expected == nullptr; ++j) {
      const uint8_t* candidate = index.entries[j];
      if (candidate[0] == s[0] && candidate[2] == s[2] && candidate[3] == s[3]) expected = candidate;
    }
    FUZZ_REQUIRE(FindStructure(s[0], handle) == expected);
    FUZZ_REQUIRE(FindStructure(s[0], handle ^ 0x8000) == nullptr ||
                 FindStructure(s[0], handle ^ 0x8000)[3] == (s[3] ^ 0x80));
  }
}

// The list's string variables and where DSP0134 puts their string numbers.
struct StringVariable {
  NameExport entry;
  uint8_t type;
  uint32_t offset;
};
#define TARNWICK_STRING_ROW(name, type, offset, help) {&name, type, offset},
#define TARNWICK_OTHER_ROW(...)
constexpr StringVariable kStringVariables[] = {
    TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_OTHER_ROW, TARNWICK_OTHER_ROW)};
#undef TARNWICK_STRING_ROW
#undef TARNWICK_OTHER_ROW

// What a string fetch leaves in a buffer that held `before`.
std::u16string AfterFetch(std::u16string before, uint8_t type, uint32_t offset) {
  std::optional<std::u16string> fetched = ExpectedString(FindIndexed(type, std::nullopt), offset);
  return fetched ? *fetched : before;
}

std::u16string Call(NameExport entry, char16_t* buffer) {
  Forget();
  Hand(buffer, kUntouched);
  FUZZ_REQUIRE(entry(buffer) == 0);
  FUZZ_REQUIRE(Record().error_writes == 0);  // variables never diagnose
  return TakeResult(buffer);
}

std::u16string FieldOr(uint8_t type, uint32_t offset, uint32_t width) {
  return ExpectedField(FindIndexed(type, std::nullopt), offset, width, false);
}

// DSP0134 7.2.1: the UUID's first three fields are little-endian from 2.6
// on; 2.31 and 2.33 are misprints of 2.3, 2.51 of 2.6; no version is current.
std::u16string ExpectedUuid(const uint8_t* system, SmbiosVersion version) {
  if (system == nullptr || system[1] < 0x18) return u"N/A";
  const uint8_t* u = system + 0x08;
  if (std::all_of(u, u + 16, [](uint8_t b) { return b == 0; }) ||
      std::all_of(u, u + 16, [](uint8_t b) { return b == 0xFF; })) {
    return u"N/A";
  }
  int minor = version.minor;
  if (version.major == 2 && (minor == 31 || minor == 33)) minor = 3;
  if (version.major == 2 && minor == 51) minor = 6;
  const bool little = version.major != 2 || minor >= 6;
  char text[40];
  if (little) {
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-", u[3], u[2], u[1], u[0], u[5], u[4],
                  u[7], u[6]);
  } else {
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-", u[0], u[1], u[2], u[3], u[4], u[5],
                  u[6], u[7]);
  }
  std::snprintf(text + 19, sizeof text - 19, "%02X%02X-%02X%02X%02X%02X%02X%02X", u[8], u[9], u[10], u[11], u[12],
                u[13], u[14], u[15]);
  return std::u16string(text, text + 36);
}

uint32_t Word(const uint8_t* s, uint32_t offset) { return s[offset] | s[offset + 1] << 8; }

// Every structure of the table in walk order, past the index's cap too:
// what the totals and @smbcount count.
std::vector<const uint8_t*> EveryStructure() {
  const uint8_t* begin = g_firmware_table.buffer;
  const uint8_t* end = begin + g_firmware_table.size;
  std::vector<const uint8_t*> every;
  for (const uint8_t* s = g_structure_index.entries[0]; s != end && StructureEnd(s, begin, end) != nullptr;) {
    every.push_back(s);
    if (s[0] == kEndOfTableType) break;
    s = StructureEnd(s, begin, end);
  }
  FUZZ_REQUIRE(std::min<size_t>(every.size(), kMaxStructures) == g_structure_index.count);
  return every;
}

// Memory (DSP0134 7.18, type 17) and processor (7.5, type 4) totals over
// every structure.
void CheckTotals(const std::vector<const uint8_t*>& every, char16_t* buffer) {
  uint64_t kilobytes = 0, populated = 0, cores = 0, threads = 0;
  bool any_memory = false, any_status = false, any_cores = false, any_threads = false;
  for (const uint8_t* s : every) {
    const uint32_t length = s[1];
    if (s[0] == 17 && length >= 0x0E) {
      const uint32_t size = Word(s, 0x0C);
      if (size != 0 && size != 0xFFFF) {
        any_memory = true;
        if (size == 0x7FFF && length >= 0x20) {
          kilobytes += uint64_t(Word(s, 0x1C) | (Word(s, 0x1E) & 0x7FFF) << 16) * 1024;
        } else {
          kilobytes += (size & 0x8000) != 0 ? size & 0x7FFF : uint64_t(size) * 1024;
        }
      }
    }
    if (s[0] != 4 || length < 0x19) continue;
    any_status = true;
    if ((s[0x18] & 0x40) == 0) continue;
    ++populated;
    auto count = [&](uint32_t offset, uint32_t offset2, uint64_t* sum, bool* any) {
      if (length <= offset) return;
      uint32_t value = s[offset];
      if (value == 0xFF) {
        if (length < offset2 + 2 || Word(s, offset2) == 0xFFFF) return;
        value = Word(s, offset2);
      }
      if (value == 0) return;
      *sum += value;
      *any = true;
    };
    count(0x23, 0x2A, &cores, &any_cores);
    count(0x25, 0x2E, &threads, &any_threads);
  }
  FUZZ_REQUIRE(Call(&_smbmemory, buffer) == (any_memory ? Decimal(kilobytes / 1024) : u"N/A"));
  FUZZ_REQUIRE(Call(&_smbcpucount, buffer) == (any_status ? Decimal(populated) : u"N/A"));
  FUZZ_REQUIRE(Call(&_smbcores, buffer) == (any_cores ? Decimal(cores) : u"N/A"));
  FUZZ_REQUIRE(Call(&_smbthreads, buffer) == (any_threads ? Decimal(threads) : u"N/A"));
}

void CheckVariables(const std::vector<const uint8_t*>& every, char16_t* buffer) {
  const std::u16string untouched(kUntouched);
  for (const StringVariable& v : kStringVariables) {
    FUZZ_REQUIRE(Call(v.entry, buffer) == AfterFetch(untouched, v.type, v.offset));
  }
  std::u16string tag = AfterFetch(untouched, 3, 0x08);
  if (tag.empty() || tag == u"N/A") tag = AfterFetch(tag, 2, 0x08);
  FUZZ_REQUIRE(Call(&_smbassettag, buffer) == tag);

  FUZZ_REQUIRE(Call(&_smbcpuclock, buffer) == FieldOr(4, 0x12, 2));
  FUZZ_REQUIRE(Call(&_smbcpuspeed, buffer) == FieldOr(4, 0x16, 2));
  const uint8_t* bios = FindIndexed(0, std::nullopt);
  const std::u16string release = bios != nullptr && bios[1] > 0x15
                                     ? Decimal(bios[0x14]) + u"." + Decimal(bios[0x15])
                                     : std::u16string(u"N/A");
  FUZZ_REQUIRE(Call(&_smbbiosrev, buffer) == release);
  const SmbiosVersion version = g_smbios_version;
  FUZZ_REQUIRE(Call(&_smbver, buffer) ==
               (version.major != 0 ? Decimal(version.major) + u"." + Decimal(version.minor) : u"N/A"));

  // Chassis: DSP0134 7.4, the type byte at 05h, bit 7 the lock.
  const uint8_t* chassis = FindIndexed(3, std::nullopt);
  const bool has_type = chassis != nullptr && chassis[1] > 0x05;
  const uint8_t type_byte = has_type ? chassis[0x05] : 0;
  FUZZ_REQUIRE(Call(&_smbchassis, buffer) == (has_type ? Decimal(type_byte) : u"N/A"));
  FUZZ_REQUIRE(Call(&_smbchassislock, buffer) ==
               (!has_type ? u"N/A" : (type_byte & 0x80) != 0 ? u"Present" : u"Not present"));
  const uint8_t kind = type_byte & 0x7F;
  const bool portable = has_type && ((kind >= 8 && kind <= 11) || kind == 14 || (kind >= 30 && kind <= 32));
  FUZZ_REQUIRE(Call(&_smbbox, buffer) == (portable ? u"L" : u"D"));
  const std::u16string chassis_type = Call(&_smbchassistype, buffer);
  FUZZ_REQUIRE(has_type ? !chassis_type.empty() && chassis_type != u"N/A" : chassis_type == u"N/A");

  const bool has_ec = bios != nullptr && bios[1] > 0x17 && !(bios[0x16] == 0xFF && bios[0x17] == 0xFF);
  FUZZ_REQUIRE(Call(&_smbecversion, buffer) ==
               (has_ec ? Decimal(bios[0x16]) + u"." + Decimal(bios[0x17]) : std::u16string(u"N/A")));
  FUZZ_REQUIRE(Call(&_smbuuid, buffer) == ExpectedUuid(FindIndexed(1, std::nullopt), version));
  CheckTotals(every, buffer);
}

// A small generator drawn from the input, so that a given table always gets
// the same calls and a mutation of it shifts them.
struct Draws {
  uint64_t state;
  uint32_t Next(uint32_t bound) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>((state >> 33) % bound);
  }
};

uint64_t Fingerprint(const uint8_t* data, size_t size) {
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
  return hash;
}

std::u16string Number(uint32_t value, Draws& draws) {
  return draws.Next(2) == 0 ? Decimal(value) : Hex(value, 1 + draws.Next(4));
}

struct FieldExport {
  NameExport entry;
  uint32_t width;  // 0: a string-number byte
};
constexpr FieldExport kFieldExports[] = {
    {&f_smbstring, 0}, {&f_smbbyte, 1}, {&f_smbword, 2}, {&f_smbdword, 4}, {&f_smbqword, 8}};

void CheckFieldCall(const FieldExport& function, const uint8_t* s, Draws& draws, char16_t* buffer) {
  const uint32_t width = function.width == 0 ? 1 : function.width;
  const uint32_t length = s[1];
  // Offsets where a field starts or stops fitting, and anywhere in range.
  const uint32_t candidates[] = {4, length - width, length - width + 1, length, 4 + draws.Next(256 - width - 3)};
  uint32_t offset = candidates[draws.Next(std::size(candidates))];
  if (offset < 4 || offset > 256 - width) offset = 4;

  std::optional<uint16_t> handle;
  const uint32_t handle_choice = draws.Next(4);
  if (handle_choice == 1 || handle_choice == 2) handle = static_cast<uint16_t>(s[2] | (s[3] << 8));
  if (handle_choice == 3) handle = static_cast<uint16_t>(draws.Next(0x10000));
  const uint32_t flags = draws.Next(4);

  std::u16string text = Number(s[0], draws) + u"," + Number(offset, draws) + u",";
  if (handle) text += Number(*handle, draws);
  text += u"," + Number(flags, draws);
  Forget();
  Hand(buffer, text);
  FUZZ_REQUIRE(function.entry(buffer) == 0);
  FUZZ_REQUIRE(Record().error_writes == 0);

  const uint8_t* target = FindIndexed(s[0], handle);
  std::u16string expected;
  if (function.width == 0) {
    expected = ExpectedString(target, offset).value_or(u"N/A");
  } else {
    expected = ExpectedField(target, offset, function.width, (flags & 1) != 0);
  }
  FUZZ_REQUIRE(TakeResult(buffer) == expected);
}

// @smbcount, @smbhandle and @smbstrnum on the type of `s`, and with numbers
// around the ends of what the table holds.
void CheckStructureCalls(const std::vector<const uint8_t*>& every, const uint8_t* s, Draws& draws,
                         char16_t* buffer) {
  const uint8_t type = draws.Next(8) == 0 ? static_cast<uint8_t>(draws.Next(256)) : s[0];
  std::vector<const uint8_t*> of_type;
  for (uint32_t i = 0; i < g_structure_index.count; ++i) {
    if (g_structure_index.entries[i][0] == type) of_type.push_back(g_structure_index.entries[i]);
  }
  auto run = [&](NameExport entry, const std::u16string& text) {
    Forget();
    Hand(buffer, text);
    FUZZ_REQUIRE(entry(buffer) == 0);
    FUZZ_REQUIRE(Record().error_writes == 0);
    return TakeResult(buffer);
  };
  const auto counted = std::count_if(every.begin(), every.end(), [&](const uint8_t* e) { return e[0] == type; });
  FUZZ_REQUIRE(run(&f_smbcount, Number(type, draws)) == Decimal(counted));

  const uint32_t n = 1 + draws.Next(static_cast<uint32_t>(of_type.size()) + 2);
  const std::u16string handle =
      n <= of_type.size() ? Decimal(of_type[n - 1][2] | of_type[n - 1][3] << 8) : std::u16string(u"N/A");
  FUZZ_REQUIRE(run(&f_smbhandle, Number(type, draws) + u"," + Number(n, draws)) == handle);

  const uint32_t number = draws.Next(2) == 0 ? 1 + draws.Next(4) : 1 + draws.Next(255);
  std::optional<uint16_t> by_handle;
  if (draws.Next(2) == 0) by_handle = static_cast<uint16_t>(s[2] | s[3] << 8);
  std::u16string text = Number(type, draws) + u"," + Number(number, draws);
  if (by_handle) text += u"," + Number(*by_handle, draws);
  FUZZ_REQUIRE(run(&f_smbstrnum, text) == ExpectedNumberedString(FindIndexed(type, by_handle), number));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x100000) return 0;
  const auto table_size = static_cast<uint32_t>(size);
  Forget();
  if (InitializeWithTable(data, table_size) != 0) {
    FUZZ_REQUIRE(g_firmware_table.buffer == nullptr && g_structure_index.count == 0);
    FUZZ_REQUIRE(Record().last_error == u"Plugin not loaded.\r\n");
    ShutdownPlugin(0);
    return 0;
  }
  FUZZ_REQUIRE(Record().console_writes == 0 && Record().error_writes == 0);
  CheckIndex(data, table_size);

  char16_t* buffer = HostBuffer();
  const std::vector<const uint8_t*> every = EveryStructure();
  CheckVariables(every, buffer);
  Draws draws{Fingerprint(data, size)};
  const uint32_t count = g_structure_index.count;
  for (int call = 0; call < 16; ++call) {
    const uint8_t* s = g_structure_index.entries[draws.Next(count)];
    CheckFieldCall(kFieldExports[draws.Next(std::size(kFieldExports))], s, draws, buffer);
  }
  for (int call = 0; call < 4; ++call) {
    CheckStructureCalls(every, g_structure_index.entries[draws.Next(count)], draws, buffer);
  }
  // String numbers straight from the fetch, at offsets inside and around
  // one structure's formatted area.
  const uint8_t* s = g_structure_index.entries[draws.Next(count)];
  for (int fetch = 0; fetch < 16; ++fetch) {
    const uint32_t offset = draws.Next(s[1] + 2u);
    Hand(buffer, kUntouched);
    const int32_t result = GetStructureString(s, offset, buffer);
    FUZZ_REQUIRE(result == (offset < 4 || offset >= s[1] ? kStringBadOffset : result));
    FUZZ_REQUIRE(TakeResult(buffer) == ExpectedString(s, offset).value_or(std::u16string(kUntouched)));
  }
  // --check's findings: each names a place inside the table, and a text
  // found is a string inside it.
  for (const Finding& finding : CheckModel(ReadTableModel(HeldTable()))) {
    FUZZ_REQUIRE(finding.position < table_size);
    const auto* text = reinterpret_cast<const uint8_t*>(finding.text.data());
    FUZZ_REQUIRE(finding.text.empty() || (text >= data && text + finding.text.size() < data + size));
  }
  FUZZ_REQUIRE(std::memcmp(g_firmware_table.buffer, data, size) == 0);  // never changed by reading

  ShutdownPlugin(0);
  FUZZ_REQUIRE(g_firmware_table.buffer == nullptr && g_structure_index.count == 0);
  FUZZ_REQUIRE(FindStructure(1, kAnyHandle) == nullptr && !NextStructure(data, nullptr));
  return 0;
}
