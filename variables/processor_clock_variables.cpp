// Processor clocks: the external clock and the speed at boot, in MHz, of
// the first Processor Information structure (DSP0134 7.5).
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/reading/field_reader.h"
#include "smbios/reading/structure_lookup.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {
namespace {

constexpr uint32_t kExternalClockOffset = 0x12;
constexpr uint32_t kCurrentSpeedOffset = 0x16;

// "N/A", overwritten by the word at `offset` of the first processor when
// that structure holds it.
int ReadProcessorWord(char16_t* buffer, uint32_t offset) {
  if (buffer == nullptr) return -1;
  WriteNotAvailable(buffer);
  uint64_t value = 0;
  if (ReadField(FindStructure(kProcessorType, kAnyHandle), offset, 2, &value)) WriteDecimal(buffer, value);
  return 0;
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL _smbcpuclock(char16_t* buffer) {
  return ReadProcessorWord(buffer, kExternalClockOffset);
}

TARNWICK_EXPORT int TARNWICK_CALL _smbcpuspeed(char16_t* buffer) {
  return ReadProcessorWord(buffer, kCurrentSpeedOffset);
}
