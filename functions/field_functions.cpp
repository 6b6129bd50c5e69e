// @smbstring, @smbbyte, @smbword, @smbdword and @smbqword: one family that
// differs only in the row below.
#include "functions/argument_rules.h"
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/reading/field_reader.h"
#include "smbios/reading/structure_lookup.h"

namespace tarnwick {
namespace {

// Type, offset, handle and flags; the string function reads three.
constexpr int kArguments = 4;

struct FieldFunction {
  uint32_t width;       // bytes; 0 for a string-number byte
  uint32_t hex_digits;  // digits after "0x" with flag bit 0 set
  int arguments_read;
  ArgumentRule rules[kArguments];
};

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

int RunFieldFunction(const FieldFunction& row, char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint32_t values[kArguments] = {0, 0, static_cast<uint32_t>(kAnyHandle), 0};
  if (!ReadArguments(buffer, row.rules, row.arguments_read, values)) return -1;
  const uint32_t type = values[0];
  const uint32_t offset = values[1];
  const uint32_t handle = values[2];
  const uint32_t flags = values[3];

  // The result is "N/A" unless the field is written over it.
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

TARNWICK_EXPORT int TARNWICK_CALL f_smbstring(char16_t* buffer) { return RunFieldFunction(kString, buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbbyte(char16_t* buffer) { return RunFieldFunction(kByte, buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbword(char16_t* buffer) { return RunFieldFunction(kWord, buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbdword(char16_t* buffer) { return RunFieldFunction(kDword, buffer); }
TARNWICK_EXPORT int TARNWICK_CALL f_smbqword(char16_t* buffer) { return RunFieldFunction(kQword, buffer); }
