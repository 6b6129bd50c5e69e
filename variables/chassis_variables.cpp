// Variables from the Type byte of the first System Enclosure or Chassis
// structure (DSP0134 7.4, offset 05h): bit 7 is the chassis lock, bits 6-0
// the chassis type (7.4.1).
#include <iterator>

#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/description/chassis_words.h"
#include "smbios/reading/field_reader.h"
#include "smbios/reading/structure_lookup.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {
namespace {

constexpr uint32_t kChassisTypeOffset = 0x05;

// The chassis type's word (7.4.1).
void WriteChassisType(char16_t* buffer, uint8_t type) {
  const char* word = ChassisTypeAnswer(type);
  char16_t wide[32] = {};  // the longest word has 21 letters
  for (size_t i = 0; word[i] != 0 && i + 1 < std::size(wide); ++i) wide[i] = static_cast<unsigned char>(word[i]);
  CopyResult(buffer, wide);
}

// Writes `fallback`, then returns true with the chassis byte when the first
// chassis structure is long enough to hold it.
bool ReadChassisByte(char16_t* buffer, const char16_t* fallback, uint8_t* value) {
  CopyResult(buffer, fallback);
  uint64_t field = 0;
  if (!ReadField(FindStructure(kChassisType, kAnyHandle), kChassisTypeOffset, 1, &field)) return false;
  *value = static_cast<uint8_t>(field);
  return true;
}

constexpr uint8_t TypeBits(uint8_t value) { return value & 0x7F; }

bool IsPortable(uint8_t type) {
  // Portable, LapTop, Notebook, Hand Held, Sub Notebook; Tablet,
  // Convertible, Detachable.
  return (type >= 8 && type <= 11) || type == 14 || (type >= 30 && type <= 32);
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL _smbbox(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint8_t value = 0;
  if (ReadChassisByte(buffer, u"D", &value) && IsPortable(TypeBits(value))) CopyResult(buffer, u"L");
  return 0;
}

TARNWICK_EXPORT int TARNWICK_CALL _smbchassis(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint8_t value = 0;
  if (ReadChassisByte(buffer, kNotAvailable, &value)) WriteDecimal(buffer, value);
  return 0;
}

TARNWICK_EXPORT int TARNWICK_CALL _smbchassislock(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint8_t value = 0;
  if (ReadChassisByte(buffer, kNotAvailable, &value)) {
    CopyResult(buffer, (value & 0x80) != 0 ? u"Present" : u"Not present");
  }
  return 0;
}

TARNWICK_EXPORT int TARNWICK_CALL _smbchassistype(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint8_t value = 0;
  if (ReadChassisByte(buffer, kNotAvailable, &value)) {
    const uint8_t type = TypeBits(value);
    WriteChassisType(buffer, type);
  }
  return 0;
}
