// @smbcount, @smbhandle and @smbstrnum: every structure of a type, not only
// the first, and any string of a structure's string-set.
#include "functions/argument_rules.h"
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/inventory.h"
#include "smbios/reading/structure_lookup.h"

namespace tarnwick {
namespace {

// A table holds at most 65536 handles, so no type has more structures.
constexpr ArgumentRule kStructureNumberRule = {u"Missing structure number\r\n", u"Bad structure number \"%s\"\r\n",
                                               u"Bad structure number (must be 1 - 65535) \"%s\"\r\n", 1, 0xFFFF};
// A string-number byte selects strings 1 to 255 (DSP0134 6.1.3).
constexpr ArgumentRule kStringNumberRule = {u"Missing string number\r\n", u"Bad string number \"%s\"\r\n",
                                            u"Bad string number (must be 1 - 255) \"%s\"\r\n", 1, 255};

constexpr ArgumentRule kCountRules[] = {kTypeRule};
constexpr ArgumentRule kHandleRules[] = {kTypeRule, kStructureNumberRule};
constexpr ArgumentRule kStringRules[] = {kTypeRule, kStringNumberRule, kHandleRule};

// The n-th indexed structure of `type` in table order (n from 1), or null.
const uint8_t* NthOfType(uint8_t type, uint32_t n) {
  const StructureIndex& index = g_structure_index;
  if (n > g_inventory.structures_of_type[type]) return nullptr;
  for (uint32_t i = index.first_of_type[type], passed = 0; i < index.count; ++i) {
    if (index.entries[i][0] == type && ++passed == n) return index.entries[i];
  }
  return nullptr;
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL f_smbcount(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint32_t values[1] = {0};
  if (!ReadArguments(buffer, kCountRules, 1, values)) return -1;
  WriteDecimal(buffer, g_inventory.structures_of_type[values[0]]);
  return 0;
}

// In decimal, so that it reads back as the handle argument of the other
// functions.
TARNWICK_EXPORT int TARNWICK_CALL f_smbhandle(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint32_t values[2] = {0, 0};
  if (!ReadArguments(buffer, kHandleRules, 2, values)) return -1;
  const uint8_t* structure = NthOfType(static_cast<uint8_t>(values[0]), values[1]);
  if (structure == nullptr) {
    WriteNotAvailable(buffer);
  } else {
    WriteDecimal(buffer, StructureHandle(structure));
  }
  return 0;
}

TARNWICK_EXPORT int TARNWICK_CALL f_smbstrnum(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint32_t values[3] = {0, 0, static_cast<uint32_t>(kAnyHandle)};
  if (!ReadArguments(buffer, kStringRules, 3, values)) return -1;
  const uint8_t* structure = FindStructure(static_cast<uint8_t>(values[0]), static_cast<int32_t>(values[2]));
  WriteNotAvailable(buffer);
  GetNumberedString(structure, values[1], buffer);
  return 0;
}
