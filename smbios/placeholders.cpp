#include "smbios/placeholders.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "host/characters.h"
#include "smbios/uuid_text.h"

namespace tarnwick {
namespace {

// Texts that the Firmware Test Suite (dmicheck), systemd's hwdb
// (20-dmi-id.hwdb) and netdata each treat as "no real value", one row per
// text, with the tools that list it. Most come from vendors' BIOS kits
// (AMI's "To Be Filled By O.E.M." and "Default string").
constexpr std::string_view kPlaceholderTexts[] = {
    "$(DEFAULT_STRING)",  // netdata
    "(null)",  // netdata
    "0000000",  // fwts
    "00000000",  // fwts
    "000000000",  // fwts
    "0000000000",  // fwts
    "012345678",  // fwts
    "0123456789",  // fwts
    "01234567890",  // fwts
    "012345678900",  // fwts
    "0123456789000",  // fwts
    "0x00000000",  // fwts
    "0x0000000000000000",  // fwts
    "1234567",  // fwts
    "12345678",  // fwts
    "123456789",  // fwts
    "1234567890",  // fwts
    "123456789000",  // fwts
    "9876543210",  // fwts
    "<cut out>",  // fwts
    "[Empty]",  // fwts
    "A1_AssetTagNum0",  // fwts
    "A1_AssetTagNum1",  // fwts
    "A1_AssetTagNum2",  // fwts
    "A1_AssetTagNum3",  // fwts
    "ABCDEFGHIJKLM",  // fwts
    "Asset Tag",  // fwts
    "Asset Tag:",  // fwts
    "Asset tracking",  // fwts
    "Asset-1234567890",  // fwts
    "AssetTagNum0",  // fwts
    "AssetTagNum1",  // fwts
    "AssetTagNum2",  // fwts
    "AssetTagNum3",  // fwts
    "AssetTagNum4",  // fwts
    "ATN12345678901234567",  // fwts
    "Base Board Asset Tag",  // fwts
    "Base Board Asset Tag#",  // fwts
    "Base Board Serial Number",  // fwts
    "Chassis Asset Tag",  // fwts
    "Chassis Manufacture",  // fwts, netdata
    "Chassis Manufacturer",  // netdata
    "Chassis Serial Number",  // fwts
    "Chassis Version",  // fwts, netdata
    "default",  // netdata
    "Default string",  // netdata, systemd
    "Empty",  // fwts, netdata
    "Fill By OEM",  // fwts
    "MB-1234567890",  // fwts
    "N/A",  // fwts, netdata, systemd
    "NA",  // fwts, netdata
    "NB-0123456789",  // fwts
    "NB-1234567890",  // fwts
    "No Asset Information",  // fwts
    "No Asset Tag",  // fwts
    "No Enclosure",  // netdata
    "None",  // fwts, netdata
    "None Provided",  // netdata
    "None1",  // fwts
    "Not Available",  // fwts
    "Not Specified",  // fwts, netdata
    "Not Supported",  // fwts
    "Not Supported by CPU",  // fwts
    "NotSupport",  // fwts
    "O.E.M.",  // systemd
    "OEM",  // netdata, systemd
    "OEM Chassis Manufacturer",  // netdata
    "OEM Chassis Serial Number",  // fwts
    "OEM Default string000",  // netdata
    "OEM_Define0",  // fwts
    "OEM_Define1",  // fwts
    "OEM_Define2",  // fwts
    "OEM_Define3",  // fwts
    "OEM_Define4",  // fwts
    "OEM_MB",  // netdata
    "SerNum0",  // fwts
    "SerNum00",  // fwts
    "SerNum01",  // fwts
    "SerNum02",  // fwts
    "SerNum03",  // fwts
    "SerNum1",  // fwts
    "SerNum2",  // fwts
    "SerNum3",  // fwts
    "SerNum4",  // fwts
    "SmbiosType1_SystemManufacturer",  // netdata
    "SmbiosType2_BoardManufacturer",  // netdata
    "Standard",  // netdata
    "System Manufacturer",  // netdata, systemd
    "System Name",  // systemd
    "System Product Name",  // netdata, systemd
    "System Serial Number",  // fwts
    "System UUID",  // netdata
    "System Version",  // fwts, netdata
    "SYSTEM_MANUFACTURER",  // netdata
    "TBD",  // netdata
    "TBD by ODM",  // fwts
    "TBD by OEM",  // netdata
    "To Be Defined By O.E.M",  // fwts
    "To Be Filled By O.E.M.",  // fwts, netdata, systemd
    "Type2 - Board Manufacturer",  // netdata
    "Type2 - Board Vendor Name1",  // netdata
    "Unknow",  // fwts, netdata
    "Unknown",  // fwts, netdata
    "unspecified",  // netdata
    "Unspecified System Serial Number",  // fwts
    "x.x",  // netdata
    "XXXXX",  // fwts, netdata
    "XXXXXX",  // fwts
    "XXXXXXX",  // fwts
    "XXXXXXXX",  // fwts
    "XXXXXXXXX",  // fwts
    "XXXXXXXXXX",  // fwts
    "XXXXXXXXXXX",  // fwts
    "XXXXXXXXXXXX",  // fwts
};

// Placeholder UUIDs other than all 00h and all FFh, as DSP0134 2.6 and later
// show them: AMI's default and the pattern that dmicheck reports.
constexpr std::string_view kPlaceholderUuids[] = {
    "03000200-0400-0500-0006-000700080009",
    "0A0A0A0A-0A0A-0A0A-0A0A-0A0A0A0A0A0A",
};

// Bytes take the code unit of the same value, as the string fetch writes them.
constexpr uint32_t Unit(char16_t c) { return c; }
constexpr uint32_t Unit(char c) { return static_cast<uint8_t>(c); }
constexpr bool IsBlank(uint32_t c) { return IsWhiteSpace(static_cast<char16_t>(c)); }

// A text's key: its characters but blanks, letters upper case; longer than
// any row's key, or holding a character above 7Fh (no row does), it is no
// row's key.
constexpr size_t kLongestKey = 32;
struct Key {
  char text[kLongestKey] = {};
  uint8_t length = 0;
  constexpr std::string_view view() const { return {text, length}; }
  // Shorter keys first, then in character order.
  constexpr bool operator<(const Key& other) const {
    return length != other.length ? length < other.length : view() < other.view();
  }
};

template <class Char>
constexpr bool MakeKey(std::basic_string_view<Char> text, Key* key) {
  key->length = 0;
  for (Char c : text) {
    const uint32_t unit = Unit(c);
    if (IsBlank(unit)) continue;
    if (unit > 0x7F || key->length == kLongestKey) return false;
    key->text[key->length++] = static_cast<char>(UpperCase(unit));
  }
  return true;
}

// The rows' keys in order, built when the program is compiled, and where
// the keys of each length begin: a text meets only the few keys of its own
// length.
constexpr std::array<Key, std::size(kPlaceholderTexts)> SortedKeys() {
  std::array<Key, std::size(kPlaceholderTexts)> keys{};
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!MakeKey(kPlaceholderTexts[i], &keys[i])) throw "a row longer than kLongestKey, or not ASCII";
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

constexpr auto kKeys = SortedKeys();

constexpr std::array<uint8_t, kLongestKey + 2> KeyStarts() {
  std::array<uint8_t, kLongestKey + 2> starts{};
  for (size_t length = 0, at = 0; length < starts.size(); ++length) {
    while (at < kKeys.size() && kKeys[at].length < length) ++at;
    starts[length] = static_cast<uint8_t>(at);
  }
  return starts;
}

constexpr auto kKeyStarts = KeyStarts();

template <class Char>
std::basic_string_view<Char> Trimmed(std::basic_string_view<Char> text) {
  while (!text.empty() && IsBlank(Unit(text.front()))) text.remove_prefix(1);
  while (!text.empty() && IsBlank(Unit(text.back()))) text.remove_suffix(1);
  return text;
}

template <class Char>
bool IsListed(std::basic_string_view<Char> text) {
  Key key;
  if (!MakeKey(text, &key)) return false;
  for (size_t i = kKeyStarts[key.length]; i < kKeyStarts[key.length + 1u]; ++i) {
    if (std::equal(key.text, key.text + key.length, kKeys[i].text)) return true;
  }
  return false;
}

constexpr int HexValue(uint32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  const uint32_t upper = UpperCase(c);
  return upper >= 'A' && upper <= 'F' ? static_cast<int>(upper - 'A' + 10) : -1;
}

// The bytes of a UUID written 8-4-4-4-12, in the order of its digits; false
// for any other text.
template <class Char>
constexpr bool UuidFromText(std::basic_string_view<Char> text, uint8_t* bytes) {
  if (text.size() != kUuidTextLength) return false;
  size_t byte = 0;
  for (size_t i = 0; i < kUuidTextLength; i += 2) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (Unit(text[i]) != '-') return false;
      ++i;
    }
    const int high = HexValue(Unit(text[i]));
    const int low = HexValue(Unit(text[i + 1]));
    if (high < 0 || low < 0) return false;
    bytes[byte++] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

using UuidBytes = std::array<uint8_t, kUuidBytes>;

constexpr std::array<UuidBytes, std::size(kPlaceholderUuids)> ParsedUuids() {
  std::array<UuidBytes, std::size(kPlaceholderUuids)> parsed{};
  for (size_t i = 0; i < parsed.size(); ++i) UuidFromText(kPlaceholderUuids[i], parsed[i].data());
  return parsed;
}

constexpr auto kUuidPatterns = ParsedUuids();

template <class Char>
bool IsPlaceholder(std::basic_string_view<Char> text) {
  text = Trimmed(text);
  if (text.empty()) return false;
  const auto only = [&](uint32_t wanted) {
    return std::all_of(text.begin(), text.end(), [wanted](Char c) { return Unit(c) == wanted; });
  };
  if (only('.') || only('0') || IsListed(text)) return true;
  uint8_t uuid[kUuidBytes];
  return UuidFromText(text, uuid) && IsPlaceholderUuid(uuid);
}

}  // namespace

bool IsPlaceholderText(std::u16string_view text) { return IsPlaceholder(text); }

bool IsPlaceholderString(std::string_view text) { return IsPlaceholder(text); }

bool IsPlaceholderUuid(const uint8_t* bytes) {
  if (IsUnsetUuid(bytes)) return true;
  // time_low, time_mid and time_hi_and_version swapped (DSP0134 7.2.1).
  static constexpr uint8_t kSwapped[kUuidBytes] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (const UuidBytes& pattern : kUuidPatterns) {
    if (std::equal(pattern.begin(), pattern.end(), bytes)) return true;
    const auto swapped = [&](uint8_t from, uint8_t b) { return pattern[from] == b; };
    if (std::equal(kSwapped, kSwapped + kUuidBytes, bytes, swapped)) return true;
  }
  return false;
}

}  // namespace tarnwick
