// The identity string variables: each names one string-number byte of the
// first structure of one type.
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/reading/structure_lookup.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {
namespace {

constexpr uint32_t kAssetTagOffset = 0x08;  // the same offset in types 2 and 3

// Only the first structure of the type is asked; the string fetch writes
// nothing when there is none, so the host's buffer then stays as it was.
int ReadStringVariable(char16_t* buffer, uint8_t type, uint32_t offset) {
  if (buffer == nullptr) return -1;
  GetStructureString(FindStructure(type, kAnyHandle), offset, buffer);
  return 0;
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

// The plain string variables are the list's STRING rows.
#define TARNWICK_DEFINE_STRING_VARIABLE(name, type, offset, help) \
  TARNWICK_EXPORT int TARNWICK_CALL name(char16_t* buffer) { return ReadStringVariable(buffer, type, offset); }
#define TARNWICK_NOT_A_STRING(...)
TARNWICK_NAMES(TARNWICK_DEFINE_STRING_VARIABLE, TARNWICK_NOT_A_STRING, TARNWICK_NOT_A_STRING)
#undef TARNWICK_DEFINE_STRING_VARIABLE
#undef TARNWICK_NOT_A_STRING

// The chassis asset tag, failing that the baseboard's. The fallback looks at
// the text in the buffer, not at what the chassis fetch found: an empty
// buffer or exactly "N/A" falls back, any other text stays.
TARNWICK_EXPORT int TARNWICK_CALL _smbassettag(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  const uint8_t* chassis = FindStructure(kChassisType, kAnyHandle);
  const uint8_t* baseboard = FindStructure(kBaseboardType, kAnyHandle);
  GetStructureString(chassis, kAssetTagOffset, buffer);
  if (buffer[0] == 0 || TextEquals(buffer, kNotAvailable)) {
    GetStructureString(baseboard, kAssetTagOffset, buffer);
  }
  return 0;
}
