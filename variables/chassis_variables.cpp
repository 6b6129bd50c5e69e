// Variables from the Type byte of the first System Enclosure or Chassis
// structure (DSP0134 7.4, offset 05h): bit 7 is the chassis lock, bits 6-0
// the chassis type (7.4.1).
#include <iterator>

#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/field_reader.h"
#include "smbios/structure_lookup.h"
#include "smbios/structure_types.h"

namespace tarnwick {
namespace {

constexpr uint32_t kChassisTypeOffset = 0x05;

// DSP0134 7.4.1, values 1 to 36; 0 and 37-127 read "Unknown".
constexpr const char16_t* kChassisTypeNames[] = {
    u"Unknown",  // 0
    u"Other",
    u"Unknown",
    u"Desktop",
    u"Low Profile Desktop",
    u"Pizza Box",
    u"Mini Tower",
    u"Tower",
    u"Portable",
    u"LapTop",
    u"Notebook",
    u"Hand Held",
    u"Docking Station",
    u"All in One",
    u"Sub Notebook",
    u"Space-saving",
    u"Lunch Box",
    u"Main Server Chassis",
    u"Expansion Chassis",
    u"SubChassis",
    u"Bus Expansion Chassis",
    u"Peripheral Chassis",
    u"RAID Chassis",
    u"Rack Mount Chassis",
    u"Sealed-case PC",
    u"Multi-system chassis",
    u"Compact PCI",
    u"Advanced TCA",
    u"Blade",
    u"Blade Enclosure",
    u"Tablet",  // 30, SMBIOS 3.0 and later
    u"Convertible",
    u"Detachable",
    u"IoT Gateway",
    u"Embedded PC",
    u"Mini PC",
    u"Stick PC",  // 36
};
static_assert(std::size(kChassisTypeNames) == kLastChassisType + 1u, "one name per defined chassis type");

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
    CopyResult(buffer, type < std::size(kChassisTypeNames) ? kChassisTypeNames[type] : u"Unknown");
  }
  return 0;
}
