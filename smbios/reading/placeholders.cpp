#include "smbios/reading/placeholders.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "host/characters.h"
#include "smbios/reading/placeholder_texts.h"
#include "smbios/reading/uuid_text.h"

namespace tarnwick {
namespace {

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

template <class Char>
std::basic_string_view<Char> Trimmed(std::basic_string_view<Char> text) {
  while (!text.empty() && IsBlank(Unit(text.front()))) text.remove_prefix(1);
  while (!text.empty() && IsBlank(Unit(text.back()))) text.remove_suffix(1);
  return text;
}

// No listed text has a key longer than this: a longer text is none of them.
constexpr size_t kLongestKey = 32;

// Every row has a key of at most kLongestKey characters, and none is of
// dots or zeros only, which the rule takes before it looks at the rows.
constexpr bool RowsFitTheRule() {
  for (std::string_view row : kPlaceholderTexts) {
    size_t key = 0;
    for (char c : row) key += IsBlank(Unit(c)) ? 0 : 1;
    if (key == 0 || key > kLongestKey) return false;
    if (row.find_first_not_of('0') == std::string_view::npos) return false;
    if (row.find_first_not_of('.') == std::string_view::npos) return false;
  }
  return true;
}
static_assert(RowsFitTheRule(), "a row the rule can match, with a key that fits");

// A text's key: its characters but blanks, letters A-Z upper case.
struct Key {
  std::array<char, kLongestKey> text;
  size_t length;
  std::string_view view() const { return {text.data(), length}; }
};

// The key of a text; false when it can have none that is listed: a
// character above 7Fh (the listed texts are ASCII) or more than kLongestKey.
template <class Char>
bool MakeKey(std::basic_string_view<Char> text, Key* key) {
  size_t length = 0;
  for (Char c : text) {
    const uint32_t unit = Unit(c);
    if (unit > 0x7F) {
      if (IsBlank(unit)) continue;  // a no-break space, say
      return false;
    }
    if (IsBlank(unit)) continue;
    if (length == kLongestKey) return false;
    key->text[length++] = static_cast<char>(UpperCase(unit));
  }
  key->length = length;
  return true;
}

// The keys of `texts`, sorted.
template <size_t N>
std::vector<std::string> SortedKeys(const std::string_view (&texts)[N]) {
  std::vector<std::string> all;
  for (std::string_view text : texts) {
    Key key{};
    if (MakeKey(text, &key)) all.emplace_back(key.view());  // every row (RowsFitTheRule)
  }
  std::sort(all.begin(), all.end());
  return all;
}

template <class Char>
bool IsListed(std::basic_string_view<Char> text, const std::vector<std::string>& keys) {
  Key key;
  return MakeKey(text, &key) && std::binary_search(keys.begin(), keys.end(), key.view(), std::less<>());
}

template <class Char>
bool IsListed(std::basic_string_view<Char> text) {
  static const std::vector<std::string> keys = SortedKeys(kPlaceholderTexts);
  return IsListed(text, keys);
}

using UuidBytes = std::array<uint8_t, kUuidBytes>;

// Each listed UUID's bytes as stored, its first three fields (time_low,
// time_mid, time_hi_and_version) in either byte order (DSP0134 7.2.1).
const std::vector<UuidBytes>& ListedUuids() {
  static const std::vector<UuidBytes> uuids = [] {
    std::vector<UuidBytes> all;
    for (std::string_view text : kPlaceholderUuids) {
      UuidBytes as_written{};
      ReadUuidText(text, as_written.data());
      UuidBytes swapped = as_written;
      std::reverse(swapped.begin(), swapped.begin() + 4);
      std::reverse(swapped.begin() + 4, swapped.begin() + 6);
      std::reverse(swapped.begin() + 6, swapped.begin() + 8);
      all.insert(all.end(), {as_written, swapped});
    }
    return all;
  }();
  return uuids;
}

template <class Char>
bool IsPlaceholder(std::basic_string_view<Char> text) {
  text = Trimmed(text);
  if (text.empty()) return false;
  const auto only = [&](uint32_t wanted) {
    return std::all_of(text.begin(), text.end(), [wanted](Char c) { return Unit(c) == wanted; });
  };
  if (only('.') || only('0')) return true;
  // A UUID's key has 36 characters, more than any listed text's.
  UuidBytes uuid;
  if (text.size() == kUuidTextLength && ReadUuidText(text, uuid.data())) return IsPlaceholderUuid(uuid.data());
  return IsListed(text);
}

}  // namespace

bool IsPlaceholderText(std::u16string_view text) { return IsPlaceholder(text); }

bool IsPlaceholderString(std::string_view text) { return IsPlaceholder(text); }

bool StatesAbsence(std::string_view text) {
  static const std::vector<std::string> keys = SortedKeys(kAbsenceTexts);
  return IsListed(Trimmed(text), keys);
}

bool IsPlaceholderUuid(const uint8_t* bytes) {
  const std::vector<UuidBytes>& listed = ListedUuids();
  return IsUnsetUuid(bytes) || std::any_of(listed.begin(), listed.end(), [bytes](const UuidBytes& uuid) {
           return std::equal(uuid.begin(), uuid.end(), bytes);
         });
}

}  // namespace tarnwick
