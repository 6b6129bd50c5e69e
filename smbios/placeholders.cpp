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

// A row's key: its characters but blanks, letters upper case. A text is
// listed when its key, built the same way, is a row's key.
constexpr size_t kLongestKey = 32;
struct Key {
  char text[kLongestKey + 1] = {};  // a NUL after the longest
  uint8_t length = 0;
  constexpr std::string_view view() const { return {text, length}; }
  constexpr bool operator<(const Key& other) const { return view() < other.view(); }
};

constexpr Key MakeKey(std::string_view row) {
  Key key;
  for (char c : row) {
    if (IsBlank(Unit(c))) continue;
    if (Unit(c) > 0x7F || key.length == kLongestKey) throw "a row longer than kLongestKey, or not ASCII";
    key.text[key.length++] = UpperCase(c);
  }
  return key;
}

// The rows' keys in character order, built when the program is compiled:
// the keys that begin alike lie together.
constexpr std::array<Key, std::size(kPlaceholderTexts)> SortedKeys() {
  std::array<Key, std::size(kPlaceholderTexts)> keys{};
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = MakeKey(kPlaceholderTexts[i]);
  std::sort(keys.begin(), keys.end());
  return keys;
}

constexpr auto kKeys = SortedKeys();

// Where the keys of each first character (below 80h) begin.
constexpr std::array<uint8_t, 0x81> FirstCharacterStarts() {
  std::array<uint8_t, 0x81> starts{};
  for (size_t c = 0, at = 0; c < starts.size(); ++c) {
    while (at < kKeys.size() && static_cast<uint8_t>(kKeys[at].text[0]) < c) ++at;
    starts[c] = static_cast<uint8_t>(at);
  }
  return starts;
}

constexpr auto kFirstCharacterStarts = FirstCharacterStarts();

// How many characters each row's key shares with the key of the row before.
constexpr std::array<uint8_t, kKeys.size()> SharedWithPrevious() {
  std::array<uint8_t, kKeys.size()> shared{};
  for (size_t i = 1; i < kKeys.size(); ++i) {
    while (shared[i] < std::min(kKeys[i - 1].length, kKeys[i].length) &&
           kKeys[i - 1].text[shared[i]] == kKeys[i].text[shared[i]]) {
      ++shared[i];
    }
  }
  return shared;
}

constexpr auto kSharedWithPrevious = SharedWithPrevious();

template <class Char>
std::basic_string_view<Char> Trimmed(std::basic_string_view<Char> text) {
  while (!text.empty() && IsBlank(Unit(text.front()))) text.remove_prefix(1);
  while (!text.empty() && IsBlank(Unit(text.back()))) text.remove_suffix(1);
  return text;
}

// Units 01h-7Fh as keys hold them: letters upper case, blanks 0.
constexpr std::array<char, 0x80> FoldedCharacters() {
  std::array<char, 0x80> folded{};
  for (uint32_t c = 1; c < folded.size(); ++c) folded[c] = IsBlank(c) ? 0 : static_cast<char>(UpperCase(c));
  return folded;
}

constexpr auto kFolded = FoldedCharacters();

// Whether the key of a trimmed text is a row's key, without building it:
// the text is walked once against the rows in order. `row` is the first row
// whose key begins with the `length` characters of the text's key so far;
// the rows that do lie together from it, one that ends there first. Most
// characters continue the row at hand; a character that does not moves on
// to the next row that shares what was matched, if there is one.
template <class Char>
bool IsListed(std::basic_string_view<Char> text) {
  const uint32_t first = UpperCase(Unit(text[0]));
  if (first > 0x7F) return false;  // no row holds a character above 7Fh
  size_t row = kFirstCharacterStarts[first];
  if (row == kFirstCharacterStarts[first + 1]) return false;
  size_t length = 1;
  const char* next = &kKeys[row].text[1];  // the row's character after those matched
  for (Char c : text.substr(1)) {
    const uint32_t unit = Unit(c);
    if (unit - 1 >= 0x7F) {  // NUL or above 7Fh: a blank, or in no row
      if (IsBlank(unit)) continue;
      return false;
    }
    const char folded = kFolded[unit];
    if (folded != *next && folded != 0) {
      do {
        if (++row == kKeys.size() || kSharedWithPrevious[row] < length) return false;
      } while (folded != kKeys[row].text[length]);
      next = &kKeys[row].text[length];
    }
    length += folded != 0;
    next += folded != 0;
  }
  return kKeys[row].length == length;
}

// The value of each unit below 80h as a hexadecimal digit, 16 for a unit
// that is none.
constexpr std::array<uint8_t, 0x80> HexValues() {
  std::array<uint8_t, 0x80> values{};
  for (uint32_t c = 0; c < values.size(); ++c) {
    const uint32_t upper = UpperCase(c);
    if (c >= '0' && c <= '9') values[c] = static_cast<uint8_t>(c - '0');
    else values[c] = static_cast<uint8_t>(upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : 16);
  }
  return values;
}

constexpr auto kHexValues = HexValues();

constexpr uint32_t HexValue(uint32_t c) { return c < kHexValues.size() ? kHexValues[c] : 16; }

// Reads a UUID written 8-4-4-4-12, handing `take` each byte's position and
// value in the order of the digits, for as long as `take` wants more. False
// when the text is no UUID or `take` stopped the walk.
template <class Char, class Take>
constexpr bool ReadUuidText(std::basic_string_view<Char> text, Take take) {
  // Where each byte's two digits begin, and the dashes between the groups.
  constexpr uint8_t kDigitsAt[kUuidBytes] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
  if (text.size() != kUuidTextLength) return false;
  for (size_t dash : {8, 13, 18, 23}) {
    if (Unit(text[dash]) != '-') return false;
  }
  for (size_t byte = 0; byte < kUuidBytes; ++byte) {
    const uint32_t high = HexValue(Unit(text[kDigitsAt[byte]]));
    const uint32_t low = HexValue(Unit(text[kDigitsAt[byte] + 1u]));
    if ((high | low) > 0xF || !take(byte, static_cast<uint8_t>(high << 4 | low))) return false;
  }
  return true;
}

using UuidBytes = std::array<uint8_t, kUuidBytes>;

// Every placeholder UUID's bytes as stored: all 00h (not set), all FFh (not
// present), and each listed pattern with its first three fields (time_low,
// time_mid, time_hi_and_version) in either byte order (DSP0134 7.2.1).
constexpr auto kUuidPlaceholderCount = 2 + 2 * std::size(kPlaceholderUuids);
constexpr std::array<UuidBytes, kUuidPlaceholderCount> PlaceholderUuidBytes() {
  constexpr uint8_t kSwapped[kUuidBytes] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  std::array<UuidBytes, kUuidPlaceholderCount> all{};
  all[1].fill(0xFF);
  for (size_t i = 0; i < std::size(kPlaceholderUuids); ++i) {
    UuidBytes& as_written = all[2 + 2 * i];
    const auto keep = [&](size_t byte, uint8_t value) { return as_written[byte] = value, true; };
    if (!ReadUuidText(kPlaceholderUuids[i], keep)) throw "a listed UUID that is not written 8-4-4-4-12";
    for (size_t byte = 0; byte < kUuidBytes; ++byte) all[3 + 2 * i][byte] = as_written[kSwapped[byte]];
  }
  return all;
}

constexpr auto kUuidPlaceholders = PlaceholderUuidBytes();

// Whether a trimmed text is a UUID whose bytes are a placeholder's. Most
// UUIDs end the walk at their first byte, which no placeholder has.
template <class Char>
bool IsPlaceholderUuidText(std::basic_string_view<Char> text) {
  uint8_t bytes[kUuidBytes];
  const auto keep = [&bytes](size_t byte, uint8_t value) {
    bytes[byte] = value;
    return byte != 0 || std::any_of(kUuidPlaceholders.begin(), kUuidPlaceholders.end(),
                                    [value](const UuidBytes& placeholder) { return placeholder[0] == value; });
  };
  return ReadUuidText(text, keep) && IsPlaceholderUuid(bytes);
}

template <class Char>
bool IsPlaceholder(std::basic_string_view<Char> text) {
  text = Trimmed(text);
  if (text.empty()) return false;
  const auto only = [&](uint32_t wanted) {
    return std::all_of(text.begin(), text.end(), [wanted](Char c) { return Unit(c) == wanted; });
  };
  return only('.') || only('0') || IsListed(text) || IsPlaceholderUuidText(text);
}

}  // namespace

bool IsPlaceholderText(std::u16string_view text) { return IsPlaceholder(text); }

bool IsPlaceholderString(std::string_view text) { return IsPlaceholder(text); }

bool IsPlaceholderUuid(const uint8_t* bytes) {
  return std::any_of(kUuidPlaceholders.begin(), kUuidPlaceholders.end(), [bytes](const UuidBytes& placeholder) {
    return std::equal(placeholder.begin(), placeholder.end(), bytes);
  });
}

}  // namespace tarnwick
