#include "smbios/model/kernel_dmi_table.h"

#include <algorithm>
#include <charconv>

#include "smbios/model/table_build.h"
#include "smbios/reading/uuid_text.h"

namespace tarnwick {
namespace {

constexpr size_t kBiosRelease = KernelDmiFieldIndex("bios_release");
constexpr size_t kEcRelease = KernelDmiFieldIndex("ec_firmware_release");

// Decimal from 0 to `largest`, the whole of `text`.
bool ParseByte(std::string_view text, unsigned largest, uint8_t* value) {
  unsigned number = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (failure != std::errc() || end != text.data() + text.size() || text.empty() || number > largest) return false;
  *value = static_cast<uint8_t>(number);
  return true;
}

// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" as stored in a table without a
// version, which is read as one of SMBIOS 2.6 on: the first three fields
// little-endian (DSP0134 7.2.1). The kernel writes the digits in the order
// of the table's own version, as _smbuuid does, so they stay the same.
bool ParseUuid(std::string_view text, uint8_t bytes[kUuidBytes]) {
  uint8_t written[kUuidBytes];
  if (!ReadUuidText(text, written)) return false;
  for (size_t i = 0; i < kUuidBytes; ++i) bytes[kLittleEndianUuidOrder[i]] = written[i];
  return true;
}

// The bytes a numeric file stands for: the chassis byte, major and minor,
// or the UUID's 16.
bool ParseNumbers(const KernelDmiField& file, std::string_view text, uint8_t* bytes) {
  if (file.kind == KernelDmiKind::kUuid) return ParseUuid(text, bytes);
  if (file.kind == KernelDmiKind::kChassis) return ParseByte(text, 0x7F, &bytes[0]);
  const size_t dot = text.find('.');
  return dot != std::string_view::npos && ParseByte(text.substr(0, dot), 0xFF, &bytes[0]) &&
         ParseByte(text.substr(dot + 1), 0xFF, &bytes[1]);
}

size_t FieldWidth(const KernelDmiField& file) {
  return file.kind == KernelDmiKind::kUuid ? kUuidBytes : file.kind == KernelDmiKind::kRelease ? 2 : 1;
}

}  // namespace

bool AnyKernelDmiText(const KernelDmiTexts& texts, uint8_t type) {
  for (size_t i = 0; i < kKernelDmiFields.size(); ++i) {
    if (kKernelDmiFields[i].type == type && texts[i]) return true;
  }
  return false;
}

bool KernelDmiTextWellFormed(const KernelDmiField& field, std::string_view text) {
  uint8_t numbers[kUuidBytes];
  return field.kind == KernelDmiKind::kString || ParseNumbers(field, text, numbers);
}

std::vector<uint8_t> TableFromKernelDmiTexts(const KernelDmiTexts& texts, const std::vector<uint8_t>& more) {
  std::vector<uint8_t> table;
  for (uint8_t type = 0; type <= 3; ++type) {
    if (!AnyKernelDmiText(texts, type)) continue;
    // The kernel writes a field only when the structure holds it: the last
    // present field bounds the structure, and a field before it that has
    // no file held what gives none.
    size_t length = 4;
    for (size_t i = 0; i < kKernelDmiFields.size(); ++i) {
      if (kKernelDmiFields[i].type == type && texts[i]) {
        length = std::max(length, kKernelDmiFields[i].offset + FieldWidth(kKernelDmiFields[i]));
      }
    }
    std::vector<uint8_t> formatted(length - 4, 0);
    std::vector<std::string> strings;
    for (size_t i = 0; i < kKernelDmiFields.size(); ++i) {
      const KernelDmiField& file = kKernelDmiFields[i];
      if (file.type != type || !texts[i]) continue;
      uint8_t* field = formatted.data() + file.offset - 4;
      if (file.kind != KernelDmiKind::kString) {
        ParseNumbers(file, *texts[i], field);
      } else if (!texts[i]->empty()) {  // empty: string number 0, N/A as the table says
        strings.push_back(*texts[i]);
        *field = static_cast<uint8_t>(strings.size());
      }
    }
    // The structure holds the BIOS release when it holds the embedded
    // controller's: without its file, it was FFh FFh.
    if (type == 0 && texts[kEcRelease] && !texts[kBiosRelease]) {
      formatted[kKernelDmiFields[kBiosRelease].offset - 4] = 0xFF;
      formatted[kKernelDmiFields[kBiosRelease].offset - 3] = 0xFF;
    }
    AppendStructure(table, type, type, formatted, strings);
  }
  table.insert(table.end(), more.begin(), more.end());
  AppendEndOfTable(table, 0xFFFF);
  return table;
}

}  // namespace tarnwick
