// Versions: the BIOS and embedded controller releases and the SMBIOS
// version of the table.
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/reading/entry_point.h"
#include "smbios/reading/field_reader.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/structure_lookup.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {
namespace {

constexpr uint32_t kBiosMajorReleaseOffset = 0x14;  // DSP0134 7.1, SMBIOS 2.4+
constexpr uint32_t kEcMajorReleaseOffset = 0x16;    // DSP0134 7.1, SMBIOS 2.4+

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

// Major and minor release bytes, written as read: FFh FFh (no release
// numbers) comes out as 255.255.
TARNWICK_EXPORT int TARNWICK_CALL _smbbiosrev(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  WriteNotAvailable(buffer);
  uint64_t release = 0;
  if (ReadField(FindStructure(kBiosType, kAnyHandle), kBiosMajorReleaseOffset, 2, &release)) {
    WriteVersion(buffer, release & 0xFF, release >> 8);
  }
  return 0;
}

// Embedded controller major and minor release; FFh FFh says there is no
// such controller.
TARNWICK_EXPORT int TARNWICK_CALL _smbecversion(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  WriteNotAvailable(buffer);
  uint64_t release = 0;
  if (ReadField(FindStructure(kBiosType, kAnyHandle), kEcMajorReleaseOffset, 2, &release) && release != 0xFFFF) {
    WriteVersion(buffer, release & 0xFF, release >> 8);
  }
  return 0;
}

TARNWICK_EXPORT int TARNWICK_CALL _smbver(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  const SmbiosVersion version = g_smbios_version;
  if (KnownSmbiosMajor(version.major)) {
    WriteVersion(buffer, version.major, version.minor);
  } else {
    WriteNotAvailable(buffer);
  }
  return 0;
}
