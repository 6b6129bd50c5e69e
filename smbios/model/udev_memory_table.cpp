#include "smbios/model/udev_memory_table.h"

#include <algorithm>
#include <charconv>

#include "host/characters.h"
#include "smbios/description/field_description.h"
#include "smbios/description/structure_types.h"
#include "smbios/model/table_build.h"

namespace tarnwick {
namespace {

constexpr std::string_view kPrefix = "MEMORY_DEVICE_";
constexpr uint32_t kLength = 0x22;      // SMBIOS 2.7: through Configured Memory Speed (20h)
constexpr uint32_t kLongLength = 0x54;  // SMBIOS 3.2: through Logical Size (4Ch), for the fields of 3.2

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

// A flags field from dmi_memory_id's words: the names of the bits set,
// lowest first, joined by blanks, or "None" for no bit of 1-15 (Type Detail,
// 13h, DSP0134 7.18.3; Memory Operating Mode Capability, 29h, 7.18.7, which
// it leaves out then); none for a word the description lacks.
std::optional<uint64_t> BitsOfWords(const UdevMemoryDevice& device, std::string_view field, uint8_t offset) {
  const auto found = device.find(field);
  const FieldRow* row = FindFieldRow(kMemoryDeviceType, offset);
  if (found == device.end() || row == nullptr) return std::nullopt;
  if (found->second == "None") return 0;
  std::string_view rest = found->second;
  uint64_t bits = 0;
  for (const BitName& bit : row->bit_names) {
    const std::string_view name = bit.text;
    if (rest.size() >= name.size() && SameIgnoringAsciiCase(rest.substr(0, name.size()), name) &&
        (rest.size() == name.size() || rest[name.size()] == ' ')) {
      bits |= uint64_t{1} << bit.bit;
      rest.remove_prefix(std::min(rest.size(), name.size() + 1));
    }
  }
  return rest.empty() && bits != 0 ? std::optional<uint64_t>(bits) : std::nullopt;
}

// One structure's formatted area and strings, and the offsets of the fields
// that the properties give; the others hold what a reader takes for not
// given (FFFEh handles, widths unknown) or 0.
struct Built {
  explicit Built(uint32_t length) : formatted(length - 4, 0) {}

  Bytes formatted;
  std::vector<std::string> strings;
  std::vector<uint32_t> given;

  void Put(uint32_t offset, uint32_t width, uint64_t value) {
    for (uint32_t i = 0; i < width; ++i) formatted[offset - 4 + i] = static_cast<uint8_t>(value >> (8 * i));
  }
  // `value` where the properties give it, else `otherwise`.
  void Give(uint32_t offset, uint32_t width, std::optional<uint64_t> value, uint64_t otherwise = 0) {
    Put(offset, width, value.value_or(otherwise));
    if (value) given.push_back(offset);
  }
  // The string a property holds, numbered; string number 0 where
  // dmi_memory_id wrote its word for none, "Not Specified"; not given where
  // it wrote none (a string of blanks only) or its mark of a number past the set.
  void GiveString(const UdevMemoryDevice& device, uint32_t offset, std::string_view field) {
    const auto found = device.find(field);
    if (found == device.end() || found->second == "<BAD INDEX>") return;
    if (found->second != "Not Specified") strings.push_back(found->second);
    Give(offset, 1, found->second == "Not Specified" ? 0 : strings.size());
  }
  // Size (0Ch) and Extended Size (1Ch) that give `bytes` as DSP0134 7.18.5
  // reads them: MB, KB with bit 15 set, or 7FFFh and the MB in Extended Size.
  void GiveSize(uint64_t bytes) {
    const uint64_t kilobytes = bytes >> 10, megabytes = bytes >> 20;
    if (bytes % (1u << 20) == 0 && megabytes < 0x7FFF) {
      Give(0x0C, 2, megabytes);
    } else if (bytes % 1024 == 0 && kilobytes < 0x7FFF) {
      Give(0x0C, 2, 0x8000 | kilobytes);
    } else {
      Give(0x0C, 2, 0x7FFF);
      Give(0x1C, 4, megabytes);
    }
  }
};

// A product ID as dmi_memory_id writes one other than 0: "0x" and four hexadecimal digits.
std::optional<uint64_t> ProductId(const UdevMemoryDevice& device, std::string_view field) {
  const auto found = device.find(field);
  uint64_t value = 0;
  if (found == device.end() || found->second.size() != 6 || !found->second.starts_with("0x")) return std::nullopt;
  const char* digits = found->second.data() + 2;
  const auto [end, failure] = std::from_chars(digits, digits + 4, value, 16);
  return failure == std::errc() && end == digits + 4 ? std::optional<uint64_t>(value) : std::nullopt;
}

Built BuildDevice(const UdevMemoryDevice& device) {
  // dmi_memory_id writes a Memory Technology for every structure of SMBIOS 3.2's length (34h on).
  const bool long_fields = device.contains("MEMORY_TECHNOLOGY");
  Built built(long_fields ? kLongLength : kLength);
  built.Put(0x04, 2, 0xFFFE);  // Physical Memory Array Handle: not given
  built.Put(0x06, 2, 0xFFFE);  // Memory Error Information Handle: not provided
  built.Give(0x08, 2, Property(device, "TOTAL_WIDTH", 0xFFFF), 0xFFFF);
  built.Give(0x0A, 2, Property(device, "DATA_WIDTH", 0xFFFF), 0xFFFF);
  // dmi_memory_id writes whole KB, at most FFFFFFFFh MB (Extended Size); another SIZE is none it wrote.
  if (const auto bytes = Property(device, "SIZE", uint64_t{0xFFFFFFFF} << 20); bytes && *bytes % 1024 == 0) {
    built.GiveSize(*bytes);
  } else if (device.contains("PRESENT")) {
    built.Give(0x0C, 2, 0);  // size 0: no module
  } else {
    built.Put(0x0C, 2, 0xFFFF);  // unknown, as dmi_memory_id leaves FFFFh out
  }
  built.Give(0x0E, 1, ValueOfWord(device, "FORM_FACTOR", 0x0E));
  if (const auto set = device.find("SET"); set != device.end()) {
    built.Give(0x0F, 1, set->second == "Unknown" ? std::optional<uint64_t>(0xFF) : Number(set->second, 0xFE));
  }
  built.GiveString(device, 0x10, "LOCATOR");
  built.GiveString(device, 0x11, "BANK_LOCATOR");
  built.Give(0x12, 1, ValueOfWord(device, "TYPE", 0x12));
  built.Give(0x13, 2, BitsOfWords(device, "TYPE_DETAIL", 0x13));
  built.Give(0x15, 2, Property(device, "SPEED_MTS", 0xFFFF));
  built.GiveString(device, 0x17, "MANUFACTURER");
  built.GiveString(device, 0x18, "SERIAL_NUMBER");
  built.GiveString(device, 0x19, "ASSET_TAG");
  built.GiveString(device, 0x1A, "PART_NUMBER");
  built.Give(0x1B, 1, Property(device, "RANK", 0x0F));
  built.Give(0x20, 2, Property(device, "CONFIGURED_SPEED_MTS", 0xFFFF));
  // Not the voltages, which dmi_memory_id rounds (1 for 1.2 V), nor the manufacturer IDs without their parity bits.
  if (long_fields) {
    built.Give(0x28, 1, ValueOfWord(device, "MEMORY_TECHNOLOGY", 0x28));
    built.Give(0x29, 2, BitsOfWords(device, "MEMORY_OPERATING_MODE_CAPABILITY", 0x29));
    built.GiveString(device, 0x2B, "FIRMWARE_VERSION");
    built.Give(0x2E, 2, ProductId(device, "MODULE_PRODUCT_ID"));
    built.Give(0x32, 2, ProductId(device, "MEMORY_SUBSYSTEM_CONTROLLER_PRODUCT_ID"));
    built.Give(0x34, 8, Property(device, "NON_VOLATILE_SIZE", ~uint64_t{0} - 1));
    built.Give(0x3C, 8, Property(device, "VOLATILE_SIZE", ~uint64_t{0} - 1));
    built.Give(0x44, 8, Property(device, "CACHE_SIZE", ~uint64_t{0} - 1));
    built.Give(0x4C, 8, Property(device, "LOGICAL_SIZE", ~uint64_t{0} - 1));
  }
  std::sort(built.given.begin(), built.given.end());
  return built;
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
    if (devices[number].empty()) continue;
    const Built built = BuildDevice(devices[number]);
    AppendStructure(table, kMemoryDeviceType, UdevMemoryDeviceHandle(number), built.formatted, built.strings);
  }
  return table;
}

std::vector<std::vector<uint32_t>> UdevMemoryFieldsGiven(const UdevMemoryDevices& devices) {
  std::vector<std::vector<uint32_t>> given;
  for (const UdevMemoryDevice& device : devices) {
    if (!device.empty()) given.push_back(BuildDevice(device).given);
  }
  return given;
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
