#include "smbios/model/udev_memory_table.h"

#include <charconv>

#include "host/characters.h"
#include "smbios/description/field_description.h"
#include "smbios/description/structure_types.h"
#include "smbios/model/table_build.h"

namespace tarnwick {
namespace {

constexpr std::string_view kPrefix = "MEMORY_DEVICE_";
constexpr uint32_t kLength = 0x22;  // SMBIOS 2.7: through Configured Memory Speed (20h)

// Decimal, the whole of `text`, up to `largest`.
std::optional<uint64_t> Number(std::string_view text, uint64_t largest) {
  uint64_t value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || failure != std::errc() || end != text.data() + text.size() || value > largest) {
    return std::nullopt;
  }
  return value;
}

std::optional<uint64_t> Property(const UdevMemoryDevice& device, std::string_view field, uint64_t largest) {
  const auto found = device.find(field);
  return found == device.end() ? std::nullopt : Number(found->second, largest);
}

// The value whose word (DSP0134's, as dmi_memory_id writes it, in its own
// case: "Row Of Chips") the property holds, by the words of the Memory
// Device's field at `offset`; none for dmi_memory_id's mark of a value it
// has no word for, "Reserved" or a word the description lacks.
std::optional<uint8_t> ValueOfWord(const UdevMemoryDevice& device, std::string_view field, uint8_t offset) {
  const auto found = device.find(field);
  const FieldRow* row = FindFieldRow(kMemoryDeviceType, offset);
  if (found == device.end() || row == nullptr) return std::nullopt;
  for (const Word& word : row->words) {
    if (word.value != 0 && word.Last() == word.value && word.value <= 0xFF &&
        SameIgnoringAsciiCase(std::string_view(word.text), std::string_view(found->second))) {
      return static_cast<uint8_t>(word.value);
    }
  }
  return std::nullopt;
}

void Put(Bytes& formatted, uint32_t offset, uint32_t width, uint64_t value) {
  for (uint32_t i = 0; i < width; ++i) formatted[offset - 4 + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Size (0Ch) and Extended Size (1Ch) that give `bytes` as DSP0134 7.18.5
// reads them: MB, KB with bit 15 set, or 7FFFh and the MB in Extended Size.
void PutSize(Bytes& formatted, uint64_t bytes) {
  const uint64_t kilobytes = bytes >> 10, megabytes = bytes >> 20;
  if (bytes % (1u << 20) == 0 && megabytes < 0x7FFF) {
    Put(formatted, 0x0C, 2, megabytes);
  } else if (bytes % 1024 == 0 && kilobytes < 0x7FFF) {
    Put(formatted, 0x0C, 2, 0x8000 | kilobytes);
  } else {
    Put(formatted, 0x0C, 2, 0x7FFF);
    Put(formatted, 0x1C, 4, megabytes);
  }
}

// The string a property holds, numbered into `strings`; 0 for none and for
// the words dmi_memory_id writes in place of one (number 0, or past the set).
uint8_t PutString(const UdevMemoryDevice& device, std::string_view field, std::vector<std::string>& strings) {
  const auto found = device.find(field);
  if (found == device.end() || found->second == "Not Specified" || found->second == "<BAD INDEX>") return 0;
  strings.push_back(found->second);
  return static_cast<uint8_t>(strings.size());
}

void AppendDevice(Bytes& table, uint16_t handle, const UdevMemoryDevice& device) {
  Bytes formatted(kLength - 4, 0);
  std::vector<std::string> strings;
  Put(formatted, 0x04, 2, 0xFFFE);  // Physical Memory Array Handle: not given
  Put(formatted, 0x06, 2, 0xFFFE);  // Memory Error Information Handle: not provided
  Put(formatted, 0x08, 2, Property(device, "TOTAL_WIDTH", 0xFFFF).value_or(0xFFFF));
  Put(formatted, 0x0A, 2, Property(device, "DATA_WIDTH", 0xFFFF).value_or(0xFFFF));
  // dmi_memory_id writes whole KB, at most FFFFFFFFh MB (Extended Size); another SIZE is none it wrote.
  if (const auto bytes = Property(device, "SIZE", uint64_t{0xFFFFFFFF} << 20); bytes && *bytes % 1024 == 0) {
    PutSize(formatted, *bytes);
  } else if (!device.contains("PRESENT")) {
    Put(formatted, 0x0C, 2, 0xFFFF);  // unknown; PRESENT=0 is size 0, no module
  }
  Put(formatted, 0x0E, 1, ValueOfWord(device, "FORM_FACTOR", 0x0E).value_or(0));
  const auto set = device.find("SET");
  const uint64_t set_number = set == device.end() ? 0 : Number(set->second, 0xFE).value_or(0);
  Put(formatted, 0x0F, 1, set != device.end() && set->second == "Unknown" ? 0xFF : set_number);
  Put(formatted, 0x10, 1, PutString(device, "LOCATOR", strings));
  Put(formatted, 0x11, 1, PutString(device, "BANK_LOCATOR", strings));
  Put(formatted, 0x12, 1, ValueOfWord(device, "TYPE", 0x12).value_or(0));
  Put(formatted, 0x15, 2, Property(device, "SPEED_MTS", 0xFFFF).value_or(0));
  Put(formatted, 0x17, 1, PutString(device, "MANUFACTURER", strings));
  Put(formatted, 0x18, 1, PutString(device, "SERIAL_NUMBER", strings));
  Put(formatted, 0x19, 1, PutString(device, "ASSET_TAG", strings));
  Put(formatted, 0x1A, 1, PutString(device, "PART_NUMBER", strings));
  Put(formatted, 0x1B, 1, Property(device, "RANK", 0x0F).value_or(0));
  Put(formatted, 0x20, 2, Property(device, "CONFIGURED_SPEED_MTS", 0xFFFF).value_or(0));
  AppendStructure(table, kMemoryDeviceType, handle, formatted, strings);
}

}  // namespace

bool AddUdevMemoryProperty(std::string_view property, UdevMemoryDevices* devices) {
  if (!property.starts_with(kPrefix)) return false;
  property.remove_prefix(kPrefix.size());
  const size_t underscore = property.find('_'), equals = property.find('=');
  if (underscore == std::string_view::npos || equals == std::string_view::npos || equals < underscore) return false;
  // dmi_memory_id numbers the structures of a table; 4096 is more than any holds.
  const std::optional<uint64_t> number = Number(property.substr(0, underscore), 4095);
  if (!number) return false;
  if (devices->size() <= *number) devices->resize(*number + 1);
  (*devices)[*number].insert_or_assign(std::string(property.substr(underscore + 1, equals - underscore - 1)),
                                       std::string(property.substr(equals + 1)));
  return true;
}

bool EveryUdevMemoryDeviceHeld(const UdevMemoryDevices& devices) {
  for (const UdevMemoryDevice& device : devices) {
    if (device.empty()) return false;
  }
  return true;
}

uint16_t UdevMemoryDeviceHandle(size_t number) {
  return static_cast<uint16_t>(0xFF00 + (number < 0xFE ? number : 0xFE));
}

Bytes UdevMemoryDeviceStructures(const UdevMemoryDevices& devices) {
  Bytes table;
  for (size_t number = 0; number < devices.size(); ++number) {
    if (!devices[number].empty()) AppendDevice(table, UdevMemoryDeviceHandle(number), devices[number]);
  }
  return table;
}

std::optional<uint64_t> ExactFirstUdevMemoryField(const UdevMemoryDevices& devices, uint32_t offset,
                                                  uint32_t width) {
  if (devices.empty() || !EveryUdevMemoryDeviceHeld(devices)) return std::nullopt;
  const UdevMemoryDevice& first = devices[0];
  if (offset == 0x0E && width == 1) return ValueOfWord(first, "FORM_FACTOR", 0x0E);
  if (offset == 0x12 && width == 1) return ValueOfWord(first, "TYPE", 0x12);
  if (offset == 0x15 && width == 2) return Property(first, "SPEED_MTS", 0xFFFF);
  return std::nullopt;
}

}  // namespace tarnwick
