// Argument text in (UTF-16LE bytes), run through each function
// over a fixed realistic table. Checks each result against the table, each
// diagnostic against the stored arguments, and the argument list's bounds.
// Texts longer than the host's buffer go to SplitArguments alone, in a buffer
// of their own size: the exports' contract is a NUL within 8192 units.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "functions/argument_list.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/quiet_host.h"
#include "fuzz/seed_tables.h"
#include "fuzz/table_reference.h"
#include "plugin/lifecycle.h"
#include "host/exports.h"
#include "smbios/reading/firmware_table.h"

using namespace tarnwick;
using namespace tarnwick::fuzzing;

namespace {

void Hand(char16_t* buffer, std::u16string_view text) {
  text.copy(buffer, text.size());
  buffer[text.size()] = 0;
}

// Junk again over whatever the call left: the text, or the result and the
// "N/A" that may lie under it.
constexpr size_t kScrubMargin = 64;
void Scrub(char16_t* buffer, std::u16string_view text) {
  std::fill_n(buffer, std::max({text.size() + 1, TerminatedText(buffer).size() + 1, kScrubMargin}), kJunk);
}

bool InsideStore(const char16_t* at) {
  return at >= g_arguments.store && at < g_arguments.store + kMaxArgLen;
}

// The bytes the compiler pads the list with behind the store: inside the
// object, so ASan cannot see a write there. They hold a mark that nothing
// may change, not even a NUL written one unit past the store.
constexpr unsigned char kPaddingMark = 0x5A;
unsigned char* Padding(size_t* size) {
  auto* begin = reinterpret_cast<unsigned char*>(g_arguments.store + kMaxArgLen);
  *size = static_cast<size_t>(reinterpret_cast<unsigned char*>(&g_arguments + 1) - begin);
  return begin;
}
bool PaddingUntouched() {
  size_t size = 0;
  const unsigned char* padding = Padding(&size);
  return std::all_of(padding, padding + size, [](unsigned char b) { return b == kPaddingMark; });
}

// The list after a split that returned `result`.
void CheckArgumentList(int32_t result) {
  const ArgumentList& list = g_arguments;
  FUZZ_REQUIRE(PaddingUntouched());
  FUZZ_REQUIRE(result >= -1 && result <= kMaxArguments);
  FUZZ_REQUIRE(list.count >= 0 && list.count <= kMaxArguments);
  FUZZ_REQUIRE(result == -1 ? list.count == 0 : result == list.count);
  for (int32_t k = 0; k < kMaxArguments; ++k) {
    const char16_t* text = list.texts[k];
    const int32_t length = list.lengths[k];
    if (text == nullptr) {
      FUZZ_REQUIRE(length == 0);
      continue;
    }
    FUZZ_REQUIRE(result == -1 || k < list.count);
    FUZZ_REQUIRE(length >= 0 && InsideStore(text) && InsideStore(text + length));
    if (result == -1) continue;  // an abandoned split is not trimmed
    FUZZ_REQUIRE(text[length] == 0);
    for (int32_t i = 0; i < length; ++i) FUZZ_REQUIRE(text[i] != u'"' && !(text[i] >= u'a' && text[i] <= u'z'));
    FUZZ_REQUIRE(length == 0 || !IsWhiteSpace(text[length - 1]));
  }
}

bool Present(int k) { return g_arguments.lengths[k] > 0; }
std::u16string Stored(int k) { return std::u16string(g_arguments.texts[k], g_arguments.lengths[k]); }

std::u16string Quoted(const char16_t* format, int k) {
  std::u16string message(format);
  return message.replace(message.find(u"%s"), 2, Stored(k));
}

struct Rule {
  const char16_t* missing;  // null: optional
  const char16_t* not_number;
  const char16_t* out_of_range;
  uint32_t lowest, highest;
};
const Rule kType = {u"Missing structure type\r\n", u"Bad structure type \"%s\"\r\n",
                    u"Bad structure type (must be 0 - 255) \"%s\"\r\n", 0, 255};
const Rule kHandle = {nullptr, u"Bad handle \"%s\"\r\n", u"Bad handle (must be 0x0000 - 0xffff) \"%s\"\r\n", 0,
                      0xFFFF};
const Rule kFlags = {nullptr, u"Bad flags \"%s\"\r\n", nullptr, 0, 0xFFFFFFFF};
const Rule kStructureNumber = {u"Missing structure number\r\n", u"Bad structure number \"%s\"\r\n",
                               u"Bad structure number (must be 1 - 65535) \"%s\"\r\n", 1, 65535};
const Rule kStringNumber = {u"Missing string number\r\n", u"Bad string number \"%s\"\r\n",
                            u"Bad string number (must be 1 - 255) \"%s\"\r\n", 1, 255};

// The first diagnostic the stored arguments call for, empty when none does;
// the parsed values go to `values`.
std::u16string ExpectedDiagnostic(const Rule* rules, int count, uint32_t* values) {
  for (int k = 0; k < count; ++k) {
    const Rule& rule = rules[k];
    if (!Present(k)) {
      if (rule.missing != nullptr) return rule.missing;
      continue;
    }
    if (ParseNumber(g_arguments.texts[k], &values[k]) != 0) return Quoted(rule.not_number, k);
    if (values[k] < rule.lowest || values[k] > rule.highest) return Quoted(rule.out_of_range, k);
  }
  return u"";
}

std::u16string ExpectedDiagnostic(uint32_t highest_offset, bool reads_flags, uint32_t values[4]) {
  const std::u16string offset_range =
      u"Bad offset (must be 4 - " + Decimal(highest_offset) + u") \"%s\"\r\n";
  const Rule offset = {u"Missing offset\r\n", u"Bad offset \"%s\"\r\n", offset_range.c_str(), 4, highest_offset};
  const Rule rules[4] = {kType, offset, kHandle, kFlags};
  return ExpectedDiagnostic(rules, reads_flags ? 4 : 3, values);
}

struct FieldExport {
  NameExport entry;
  uint32_t width;  // 0: a string-number byte
  uint32_t highest_offset;
};
constexpr FieldExport kFieldExports[] = {
    {&f_smbstring, 0, 255}, {&f_smbbyte, 1, 255}, {&f_smbword, 2, 254}, {&f_smbdword, 4, 252}, {&f_smbqword, 8, 248}};

// A call answers -1 with exactly the expected diagnostic and the argument
// text left in the buffer, or answers 0 with none: true when it refused.
bool Refused(int result, const std::u16string& diagnostic, char16_t* buffer, std::u16string_view text) {
  if (result != 0) {
    FUZZ_REQUIRE(result == -1 && !diagnostic.empty() && Record().last_error == diagnostic);
    FUZZ_REQUIRE(TerminatedText(buffer) == text);
    Scrub(buffer, text);
    return true;
  }
  FUZZ_REQUIRE(diagnostic.empty() && Record().error_writes == 0);
  return false;
}

void CheckFieldFunction(const FieldExport& function, std::u16string_view text, char16_t* buffer) {
  Hand(buffer, text);
  Forget();
  const int result = function.entry(buffer);
  // The expectation comes from the list as the split makes it, split again
  // here so that its result can be checked too.
  const std::u16string copy(text);
  CheckArgumentList(SplitArguments(copy.c_str()));

  uint32_t values[4] = {0, 0, 0xFFFFFFFF, 0};
  const std::u16string diagnostic = ExpectedDiagnostic(function.highest_offset, function.width != 0, values);
  if (Refused(result, diagnostic, buffer, text)) return;
  std::optional<uint16_t> handle;
  if (Present(2)) handle = static_cast<uint16_t>(values[2]);
  const uint8_t* s = FindIndexed(static_cast<uint8_t>(values[0]), handle);
  const std::u16string expected = function.width == 0
                                      ? ExpectedString(s, values[1]).value_or(u"N/A")
                                      : ExpectedField(s, values[1], function.width, (values[3] & 1) != 0);
  FUZZ_REQUIRE(TerminatedText(buffer) == expected);
  Scrub(buffer, text);
}

// @smbcount[type], @smbhandle[type,n], @smbstrnum[type,n,handle].
enum class StructureCall { kCount, kHandle, kStringNumber };

void CheckStructureFunction(StructureCall call, std::u16string_view text, char16_t* buffer) {
  static const Rule kCountRules[] = {kType};
  static const Rule kHandleRules[] = {kType, kStructureNumber};
  static const Rule kStringRules[] = {kType, kStringNumber, kHandle};
  const NameExport entry = call == StructureCall::kCount    ? &f_smbcount
                           : call == StructureCall::kHandle ? &f_smbhandle
                                                            : &f_smbstrnum;
  Hand(buffer, text);
  Forget();
  const int result = entry(buffer);
  const std::u16string copy(text);
  CheckArgumentList(SplitArguments(copy.c_str()));

  uint32_t values[3] = {0, 0, 0};
  const std::u16string diagnostic =
      call == StructureCall::kCount    ? ExpectedDiagnostic(kCountRules, 1, values)
      : call == StructureCall::kHandle ? ExpectedDiagnostic(kHandleRules, 2, values)
                                       : ExpectedDiagnostic(kStringRules, 3, values);
  if (Refused(result, diagnostic, buffer, text)) return;
  const auto type = static_cast<uint8_t>(values[0]);
  std::u16string expected;
  if (call == StructureCall::kStringNumber) {
    std::optional<uint16_t> handle;
    if (Present(2)) handle = static_cast<uint16_t>(values[2]);
    expected = ExpectedNumberedString(FindIndexed(type, handle), values[1]);
  } else {
    uint32_t seen = 0;
    expected = u"N/A";
    for (uint32_t i = 0; i < g_structure_index.count; ++i) {
      const uint8_t* s = g_structure_index.entries[i];
      if (s[0] == type && ++seen == values[1] && call == StructureCall::kHandle) expected = Decimal(s[2] | s[3] << 8);
    }
    if (call == StructureCall::kCount) expected = Decimal(seen);
  }
  FUZZ_REQUIRE(TerminatedText(buffer) == expected);
  Scrub(buffer, text);
}

void CheckRandx(std::u16string_view text, char16_t* buffer) {
  Hand(buffer, text);
  Forget();
  const int result = f_randx(buffer);

  size_t skipped = 0;
  while (skipped < text.size() && IsWhiteSpace(text[skipped])) ++skipped;
  const std::u16string number(text.substr(skipped));
  uint32_t count = 8;
  const bool parsed = text.empty() || ParseNumber(number.c_str(), &count) == 0;
  if (result == 0) {
    FUZZ_REQUIRE(parsed && count <= 1024 && Record().error_writes == 0);
    const std::u16string_view digits = TerminatedText(buffer);
    FUZZ_REQUIRE(digits.size() == count);
    for (char16_t c : digits) FUZZ_REQUIRE((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
    Scrub(buffer, text);
    return;
  }
  FUZZ_REQUIRE(result == -1);
  std::u16string upper(text);
  for (char16_t& c : upper) c = UpperCase(c);
  if (!parsed) {
    FUZZ_REQUIRE(Record().last_error == u"Invalid number: '" + upper.substr(skipped) + u"'\r\n");
    FUZZ_REQUIRE(TerminatedText(buffer) == upper);
  } else {
    FUZZ_REQUIRE(count > 1024 && Record().last_error == u"Number too large: " + Decimal(count) + u"\r\n");
    FUZZ_REQUIRE(TerminatedText(buffer) == text);
  }
  Scrub(buffer, text);
}

// Beyond the host's contract: only the split may see it, and it must stay
// inside the store or stop with the overflow diagnostic.
void CheckLongText(std::u16string_view text) {
  // A heap block of exactly the text and its NUL, so ASan sees a read past it.
  std::unique_ptr<char16_t[]> copy(new char16_t[text.size() + 1]);
  text.copy(copy.get(), text.size());
  copy[text.size()] = 0;
  Forget();
  const int32_t result = SplitArguments(copy.get());
  CheckArgumentList(result);
  if (result == -1) {
    const std::u16string prefix = u"Buffer overflow: b = ";
    FUZZ_REQUIRE(Record().last_error.compare(0, prefix.size(), prefix) == 0);
    FUZZ_REQUIRE(Record().last_error.ends_with(u", MAX_ARG_LEN = 8192 \r\n"));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  static const Bytes table = RealisticTable();
  FUZZ_REQUIRE(InitializeWithTable(table.data(), static_cast<uint32_t>(table.size())) == 0);
  // The list is per thread, where ASan keeps no red zone: the store is its
  // last field, and only padding lies behind it.
  const auto* list_end = reinterpret_cast<const char*>(&g_arguments + 1);
  const auto* store_end = reinterpret_cast<const char*>(g_arguments.store + kMaxArgLen);
  FUZZ_REQUIRE(store_end <= list_end && list_end - store_end < 8);
  size_t size = 0;
  std::fill_n(Padding(&size), size, kPaddingMark);
  return 0;
}

// The input's bytes in pairs are the text, up to a NUL unit. An odd last
// byte picks one of the functions; without it all run.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    text += unit;
  }
  if (text.size() >= kMaxArgLen) {
    CheckLongText(text);
    return 0;
  }
  char16_t* buffer = HostBuffer();
  constexpr StructureCall kStructureCalls[] = {StructureCall::kCount, StructureCall::kHandle,
                                               StructureCall::kStringNumber};
  constexpr size_t kFields = std::size(kFieldExports);
  constexpr size_t kFunctions = kFields + 1 + std::size(kStructureCalls);
  const size_t only = size % 2 == 1 ? data[size - 1] % kFunctions : kFunctions;
  for (size_t f = 0; f < kFields; ++f) {
    if (only == kFunctions || only == f) CheckFieldFunction(kFieldExports[f], text, buffer);
  }
  if (only == kFunctions || only == kFields) CheckRandx(text, buffer);
  for (size_t f = 0; f < std::size(kStructureCalls); ++f) {
    if (only == kFunctions || only == kFields + 1 + f) CheckStructureFunction(kStructureCalls[f], text, buffer);
  }
  return 0;
}
