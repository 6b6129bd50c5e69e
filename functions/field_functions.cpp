// @smbstring, @smbbyte, @smbword, @smbdword and @smbqword: one family that
// differs only in the row below.
#include "functions/argument_list.h"
#include "plugin/diagnostics.h"
#include "plugin/exports.h"
#include "plugin/result_text.h"
#include "smbios/field_reader.h"
#include "smbios/structure_lookup.h"

namespace tarnwick {
namespace {

struct FieldFunction {
  uint32_t width;                   // bytes; 0 for a string-number byte
  uint32_t highest_offset;          // 256 minus the width, 255 for a string
  const char16_t* offset_message;   // the offset range diagnostic
  uint32_t hex_digits;              // digits after "0x" with flag bit 0 set
  bool reads_flags;
};

constexpr FieldFunction kString = {0, 255, u"Bad offset (must be 4 - 255) \"%s\"\r\n", 0, false};
constexpr FieldFunction kByte = {1, 255, u"Bad offset (must be 4 - 255) \"%s\"\r\n", 2, true};
constexpr FieldFunction kWord = {2, 254, u"Bad offset (must be 4 - 254) \"%s\"\r\n", 4, true};
constexpr FieldFunction kDword = {4, 252, u"Bad offset (must be 4 - 252) \"%s\"\r\n", 8, true};
constexpr FieldFunction kQword = {8, 248, u"Bad offset (must be 4 - 248) \"%s\"\r\n", 16, true};

enum Argument { kTypeArgument, kOffsetArgument, kHandleArgument, kFlagsArgument };

bool Present(Argument which) { return g_arguments.lengths[which] > 0; }
const char16_t* Text(Argument which) { return g_arguments.texts[which]; }

// Reads a required or optional number. On a bad argument writes the first
// diagnostic that applies and returns false.
bool ReadArgument(Argument which, const char16_t* missing, const char16_t* not_number,
                  const char16_t* out_of_range, uint32_t lowest, uint32_t highest, uint32_t* value) {
  if (!Present(which)) {
    if (missing == nullptr) return true;  // optional: the caller's default stays
    Diagnose(missing, nullptr);
    return false;
  }
  if (ParseNumber(Text(which), value) != 0) {
    Diagnose(not_number, Text(which));
    return false;
  }
  if (*value < lowest || *value > highest) {
    Diagnose(out_of_range, Text(which));
    return false;
  }
  return true;
}

int RunFieldFunction(const FieldFunction& row, char16_t* buffer) {
  if (buffer == nullptr) return -1;
  SplitArguments(buffer);

  uint32_t type = 0;
  uint32_t offset = 0;
  uint32_t handle = 0xFFFFFFFF;  // absent: any handle
  uint32_t flags = 0;
  if (!ReadArgument(kTypeArgument, u"Missing structure type\r\n", u"Bad structure type \"%s\"\r\n",
                    u"Bad structure type (must be 0 - 255) \"%s\"\r\n", 0, 255, &type) ||
      !ReadArgument(kOffsetArgument, u"Missing offset\r\n", u"Bad offset \"%s\"\r\n", row.offset_message, 4,
                    row.highest_offset, &offset) ||
      !ReadArgument(kHandleArgument, nullptr, u"Bad handle \"%s\"\r\n",
                    u"Bad handle (must be 0x0000 - 0xffff) \"%s\"\r\n", 0, 0xFFFF, &handle) ||
      (row.reads_flags &&
       !ReadArgument(kFlagsArgument, nullptr, u"Bad flags \"%s\"\r\n", nullptr, 0, 0xFFFFFFFF, &flags))) {
    return -1;
  }

  CopyResult(buffer, kNotAvailable);
  const uint8_t* structure = FindStructure(static_cast<uint8_t>(type), static_cast<int32_t>(handle));
  if (row.width == 0) {
    GetStructureString(structure, offset, buffer);
    return 0;
  }
  uint64_t value = 0;
  if (!ReadField(structure, offset, row.width, &value)) return 0;
  if ((flags & 1) != 0) {
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
