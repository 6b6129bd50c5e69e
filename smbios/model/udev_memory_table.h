// The way back from the memory devices that systemd's udev publishes
// (dmi_memory_id, run at boot for the dmi/id device, into the world-readable
// database /run/udev/data/+dmi:id as MEMORY_DEVICE_<N>_<FIELD>=<value>) to
// Memory Device structures (DSP0134 7.18, type 17), for the plug-in to
// answer from where the table cannot be read.
//
// dmi_memory_id numbers every type-17 structure in table order and writes
// nothing for one shorter than 15h; it writes the size in bytes (absent for
// FFFFh, unknown; PRESENT=0 for 0, no module), the words of Form Factor and
// Memory Type, the strings stripped of blanks ("Not Specified" for string
// number 0, none for a string of blanks only), and numbers other than 0.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bytes.h"

namespace tarnwick {

// The properties of one device, by field name (SIZE, LOCATOR, ...).
using UdevMemoryDevice = std::map<std::string, std::string, std::less<>>;

// The devices by number; a number without properties stays an empty map.
using UdevMemoryDevices = std::vector<UdevMemoryDevice>;

// Takes one property: MEMORY_DEVICE_<N>_<FIELD>=<value> (the text after
// "E:" in udev's database); false for any other.
bool AddUdevMemoryProperty(std::string_view property, UdevMemoryDevices* devices);

// True when every device from 0 to the last has properties: no structure
// was too short for dmi_memory_id, so each one's place in the table is known.
bool EveryUdevMemoryDeviceHeld(const UdevMemoryDevices& devices);

// The handle of the structure built for device `number`: FF00h on, which
// DSP0134 6.1.2 reserves, since udev does not give the table's.
uint16_t UdevMemoryDeviceHandle(size_t number);

// One Memory Device structure per device that has properties, in order, of
// length 22h (SMBIOS 2.7) or, where udev gives the fields of 3.2, 54h: Size
// or Extended Size holding the same bytes; Form Factor, Memory Type, Type
// Detail, Memory Technology and Operating Mode Capability from their words;
// the strings, widths, set, speeds, rank, product IDs and sizes of 3.2; what
// udev leaves out is 0, or unknown (FFFFh) for the widths.
Bytes UdevMemoryDeviceStructures(const UdevMemoryDevices& devices);

// For each structure UdevMemoryDeviceStructures builds, in order, the
// offsets of the fields that the properties give, ascending: the others
// hold bytes the builder chose, which no firmware wrote.
std::vector<std::vector<uint32_t>> UdevMemoryFieldsGiven(const UdevMemoryDevices& devices);

// The value of the first device's field at `offset` of `width` bytes, when
// the properties say exactly what the table holds there: Form Factor (0Eh)
// and Memory Type (12h) from a word DSP0134 defines, Speed (15h) when given.
std::optional<uint64_t> ExactFirstUdevMemoryField(const UdevMemoryDevices& devices, uint32_t offset, uint32_t width);

}  // namespace tarnwick
