// _smbuuid: the UUID of the System Information structure (DSP0134 7.2,
// offset 08h, 16 bytes), written as Windows shows it.
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/structure_lookup.h"
#include "smbios/description/structure_types.h"
#include "smbios/reading/uuid_text.h"

namespace tarnwick {
namespace {

constexpr uint32_t kUuidOffset = 0x08;

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL _smbuuid(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  const uint8_t* system = FindStructure(kSystemType, kAnyHandle);
  if (system == nullptr || system[1] < kUuidOffset + kUuidBytes || IsUnsetUuid(system + kUuidOffset)) {
    WriteNotAvailable(buffer);
    return 0;
  }
  WriteUuid(buffer, system + kUuidOffset, g_smbios_version);
  return 0;
}
