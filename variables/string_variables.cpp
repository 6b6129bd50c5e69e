// The identity string variables: each names one string-number byte of the
// first structure of one type.
#include "plugin/exports.h"
#include "plugin/result_text.h"
#include "smbios/structure_lookup.h"

namespace tarnwick {
namespace {

// Types and offsets from DSP0134: 7.1 BIOS Information (type 0), 7.2 System
// Information (type 1), 7.3 Baseboard Information (type 2), 7.4 System
// Enclosure or Chassis (type 3), 7.5 Processor Information (type 4).
#define TARNWICK_STRING_VARIABLES(X)                                    \
  X(_smbbiosvendor, 0, 0x04)     /* Vendor */                           \
  X(_smbbiosversion, 0, 0x05)    /* BIOS Version */                     \
  X(_smbbiosdate, 0, 0x08)       /* BIOS Release Date */                \
  X(_smbmfg, 1, 0x04)            /* Manufacturer */                     \
  X(_smbproduct, 1, 0x05)        /* Product Name */                     \
  X(_smbsysversion, 1, 0x06)     /* Version */                          \
  X(_smbserial, 1, 0x07)         /* Serial Number */                    \
  X(_smbsku, 1, 0x19)            /* SKU Number, SMBIOS 2.4 and later */ \
  X(_smbfamily, 1, 0x1A)         /* Family, SMBIOS 2.4 and later */     \
  X(_smbbbmfg, 2, 0x04)          /* Manufacturer */                     \
  X(_smbbbproduct, 2, 0x05)      /* Product */                          \
  X(_smbbbversion, 2, 0x06)      /* Version */                          \
  X(_smbbbserial, 2, 0x07)       /* Serial Number */                    \
  X(_smbbbassettag, 2, 0x08)     /* Asset Tag */                        \
  X(_smbchassismfg, 3, 0x04)     /* Manufacturer */                     \
  X(_smbchassisversion, 3, 0x06) /* Version */                          \
  X(_smbchassisserial, 3, 0x07)  /* Serial Number */                    \
  X(_smbchassistag, 3, 0x08)     /* Asset Tag Number */                 \
  X(_smbcpusocket, 4, 0x04)      /* Socket Designation */               \
  X(_smbcpumfg, 4, 0x07)         /* Processor Manufacturer */           \
  X(_smbcpuversion, 4, 0x10)     /* Processor Version */

constexpr uint8_t kChassisType = 3;
constexpr uint8_t kBaseboardType = 2;
constexpr uint32_t kAssetTagOffset = 0x08;  // the same offset in types 2 and 3
constexpr int32_t kAnyHandle = -1;

// Only the first structure of the type is asked; the string fetch writes
// nothing when there is none, so the host's buffer then stays as it was.
int ReadStringVariable(char16_t* buffer, uint8_t type, uint32_t offset) {
  if (buffer == nullptr) return -1;
  GetIndexedStructureString(FindStructure(type, kAnyHandle), offset, buffer);
  return 0;
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

#define TARNWICK_DEFINE_STRING_VARIABLE(name, type, offset) \
  TARNWICK_EXPORT int TARNWICK_CALL name(char16_t* buffer) { return ReadStringVariable(buffer, type, offset); }
TARNWICK_STRING_VARIABLES(TARNWICK_DEFINE_STRING_VARIABLE)
#undef TARNWICK_DEFINE_STRING_VARIABLE

// The chassis asset tag, failing that the baseboard's. The fallback looks at
// the text in the buffer, not at what the chassis fetch found: an empty
// buffer or exactly "N/A" falls back, any other text stays.
TARNWICK_EXPORT int TARNWICK_CALL _smbassettag(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  const uint8_t* chassis = FindStructure(kChassisType, kAnyHandle);
  const uint8_t* baseboard = FindStructure(kBaseboardType, kAnyHandle);
  GetIndexedStructureString(chassis, kAssetTagOffset, buffer);
  if (buffer[0] == 0 || TextEquals(buffer, kNotAvailable)) {
    GetIndexedStructureString(baseboard, kAssetTagOffset, buffer);
  }
  return 0;
}
