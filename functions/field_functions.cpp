// @smbstring, @smbbyte, @smbword, @smbdword and @smbqword: one family that
// differs only in the row below.
#include "functions/argument_list.h"
#include "host/diagnostics.h"
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/field_reader.h"
#include "smbios/structure_lookup.h"

namespace tarnwick {
namespace {

// What each argument may be, in the order of the tests: absent (`missing`
// null: optional, its default stays), not a number, outside its range.
struct ArgumentRule {
  const char16_t* missing;
  const char16_t* not_number;
  const char16_t* out_of_range;
  uint32_t lowest;
  uint32_t highest;
};

// Type, offset, handle and flags; the string function reads three.
constexpr int kArguments = 4;

struct FieldFunction {
  uint32_t width;       // bytes; 0 for a string-number byte
  uint32_t hex_digits;  // digits after "0x" with flag bit 0 set
  int arguments_read;
  ArgumentRule rules[kArguments];
};

constexpr ArgumentRule kTypeRule = {u"Missing structure type\r\n", u"Bad structure type \"%s\"\r\n",
                                    u"Bad structure type (must be 0 - 255) \"%s\"\r\n", 0, 255};
constexpr ArgumentRule kHandleRule = {nullptr, u"Bad handle \"%s\"\r\n",
                                      u"Bad handle (must be 0x0000 - 0xffff) \"%s\"\r\n", 0, 0xFFFF};
constexpr ArgumentRule kFlagsRule = {nullptr, u"Bad flags \"%s\"\r\n", nullptr, 0, 0xFFFFFFFF};

// The offset runs from 4 (behind the header) to the last at which the
// field still fits in 256 bytes.
constexpr ArgumentRule OffsetRule(uint32_t highest, const char16_t* out_of_range) {
  return {u"Missing offset\r\n", u"Bad offset \"%s\"\r\n", out_of_range, 4, highest};
}

constexpr FieldFunction kString = {
    0, 0, 3, {kTypeRule, OffsetRule(255, u"Bad offset (must be 4 - 255) \"%s\"\r\n"), kHandleRule, kFlagsRule}};
constexpr FieldFunction kByte = {
    1, 2, 4, {kTypeRule, OffsetRule(255, u"Bad offset (must be 4 - 255) \"%s\"\r\n"), kHandleRule, kFlagsRule}};
constexpr FieldFunction kWord = {
    2, 4, 4, {kTypeRule, OffsetRule(254, u"Bad offset (must be 4 - 254) \"%s\"\r\n"), kHandleRule, kFlagsRule}};
constexpr FieldFunction kDword = {
    4, 8, 4, {kTypeRule, OffsetRule(252, u"Bad offset (must be 4 - 252) \"%s\"\r\n"), kHandleRule, kFlagsRule}};
constexpr FieldFunction kQword = {
    8, 16, 4, {kTypeRule, OffsetRule(248, u"Bad offset (must be 4 - 248) \"%s\"\r\n"), kHandleRule, kFlagsRule}};

struct FieldArguments {
  uint32_t values[kArguments] = {0, 0, 0xFFFFFFFF, 0};  // the handle's default: any
};

// Reads argument k of the split list. On a bad argument writes the first
// diagnostic that applies and returns false.
bool ReadListedArgument(int k, const ArgumentRule& rule, uint32_t* value) {
  const char16_t* text = g_arguments.texts[k];
  if (g_arguments.lengths[k] == 0) {
    if (rule.missing == nullptr) return true;
    Diagnose(rule.missing, nullptr);
    return false;
  }
  if (ParseNumber(text, value) != 0) {
    Diagnose(rule.not_number, text);
    return false;
  }
  if (*value < rule.lowest || *value > rule.highest) {
    Diagnose(rule.out_of_range, text);
    return false;
  }
  return true;
}

// Argument texts as batch files write them, "4,0x16" or "1,4,,1": at most
// four arguments, each empty or a number alone between its commas, no
// quotes, no white space, shorter than the host's buffer. The split would
// store each argument as written, upper-cased, and ParseNumber read the same
// number from it, so the numbers are read in place in one pass. True when
// every argument passes its tests; anything else, every diagnostic
// included, is left to the split.
template <const FieldFunction& row>
bool ReadPlainArguments(const char16_t* text, FieldArguments* arguments) {
  const char16_t* at = text;
  // Unrolled, each argument's rule is a constant of the code.
#pragma GCC unroll 4
  for (int k = 0; k < kArguments; ++k) {
    const NumberScan scan = ScanNumber(at);
    const bool present = scan.stop != at;
    if ((*scan.stop != u',' && *scan.stop != 0) || scan.value > 0xFFFFFFFFu) return false;
    if (k < row.arguments_read) {
      const ArgumentRule& rule = row.rules[k];
      if (!present && rule.missing != nullptr) return false;
      if (present && (scan.value < rule.lowest || scan.value > rule.highest)) return false;
      if (present) arguments->values[k] = static_cast<uint32_t>(scan.value);
    }
    at = scan.stop;
    if (*at == 0) {
      // Every further argument is absent, which only a required one is not
      // allowed to be.
      for (int later = k + 1; later < row.arguments_read; ++later) {
        if (row.rules[later].missing != nullptr) return false;
      }
      return at - text < static_cast<int32_t>(kMaxArgLen);
    }
    ++at;
  }
  return false;  // a fifth argument
}

// One copy per row, so that each export's width, range and format are
// constants of its code.
template <const FieldFunction& row>
int RunFieldFunction(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  FieldArguments arguments;
  if (!ReadPlainArguments<row>(buffer, &arguments)) {
    // The general path: the split's result is not consulted; each argument
    // is judged by its length.
    SplitArguments(buffer);
    for (int k = 0; k < row.arguments_read; ++k) {
      if (!ReadListedArgument(k, row.rules[k], &arguments.values[k])) return -1;
    }
  }
  const uint32_t type = arguments.values[0];
  const uint32_t offset = arguments.values[1];
  const uint32_t handle = arguments.values[2];
  const uint32_t flags = arguments.values[3];

  // The result is "N/A" unless the field is written over it; where it is,
  // "N/A" is not written first.
  const uint8_t* structure = FindStructure(static_cast<uint8_t>(type), static_cast<int32_t>(handle));
  uint64_t value = 0;
  if (row.width == 0) {
    WriteNotAvailable(buffer);
    GetStructureString(structure, offset, buffer);
  } else if (!ReadField(structure, offset, row.width, &value)) {
    WriteNotAvailable(buffer);
  } else if ((flags & 1) != 0) {
    WriteHex(buffer, value, row.hex_digits);
  } else {
    WriteDecimal(buffer, value);
  }
  return 0;
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL f_smbstring(char16_t* buffer) { return RunFieldFunction<kString>(buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbbyte(char16_t* buffer) { return RunFieldFunction<kByte>(buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbword(char16_t* buffer) { return RunFieldFunction<kWord>(buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbdword(char16_t* buffer) { return RunFieldFunction<kDword>(buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbqword(char16_t* buffer) { return RunFieldFunction<kQword>(buffer); }
