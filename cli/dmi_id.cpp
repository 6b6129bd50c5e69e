#include "cli/dmi_id.h"

#include <charconv>
#include <filesystem>

#include "host/exports.h"
#include "platform/system.h"
#include "smbios/table_build.h"
#include "smbios/uuid_text.h"

namespace tarnwick::cli {
namespace {

// The place of a file in kKernelDmiFields, by its name.
constexpr size_t FileIndex(std::string_view name) {
  size_t i = 0;
  while (i < kKernelDmiFields.size() && kKernelDmiFields[i].name != name) ++i;
  return i;
}

constexpr size_t kBiosRelease = FileIndex("bios_release");
constexpr size_t kEcRelease = FileIndex("ec_firmware_release");
constexpr size_t kBoardAssetTag = FileIndex("board_asset_tag");
constexpr size_t kChassisTypeFile = FileIndex("chassis_type");
constexpr size_t kChassisAssetTag = FileIndex("chassis_asset_tag");
constexpr size_t kUuidFile = FileIndex("product_uuid");
static_assert(kUuidFile < kKernelDmiFields.size() && kChassisTypeFile < kKernelDmiFields.size());

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
  static constexpr uint8_t kStoredAt[kUuidBytes] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  if (text.size() != 36) return false;
  size_t at = 0;
  for (size_t i = 0; i < kUuidBytes; ++i, at += 2) {
    if (at == 8 || at == 13 || at == 18 || at == 23) {
      if (text[at++] != '-') return false;
    }
    const auto [end, failure] = std::from_chars(text.data() + at, text.data() + at + 2, bytes[kStoredAt[i]], 16);
    if (failure != std::errc() || end != text.data() + at + 2) return false;
  }
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

bool AnyOfType(const DmiIdTexts& texts, uint8_t type) {
  for (size_t i = 0; i < kKernelDmiFields.size(); ++i) {
    if (kKernelDmiFields[i].type == type && texts[i]) return true;
  }
  return false;
}

// The STRING rows of the one list whose field is one of the files read.
bool IsStringOfAFile(NameExport entry, const DmiIdUnread& unread) {
  struct Row {
    NameExport entry;
    uint8_t type;
    uint8_t offset;
  };
#define TARNWICK_STRING_ROW(name, type, offset, help) Row{&name, type, offset},
#define TARNWICK_OTHER_ROW(...)
  static constexpr Row kRows[] = {TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_OTHER_ROW, TARNWICK_OTHER_ROW)};
#undef TARNWICK_STRING_ROW
#undef TARNWICK_OTHER_ROW
  for (const Row& row : kRows) {
    if (row.entry != entry) continue;
    for (size_t i = 0; i < kKernelDmiFields.size(); ++i) {
      const KernelDmiField& file = kKernelDmiFields[i];
      if (file.kind == KernelDmiKind::kString && file.type == row.type && file.offset == row.offset) return !unread[i];
    }
  }
  return false;
}

// Why the text of kKernelDmiFields[file] is not as the kernel writes it; empty when it is.
std::string Malformed(size_t file, std::string_view text) {
  static constexpr const char* kWanted[] = {"", "a chassis type from 0 to 127", "a release MAJOR.MINOR up to 255.255",
                                            "a UUID of 32 hexadecimal digits in 5 groups"};
  uint8_t numbers[kUuidBytes];
  if (text.find('\0') != std::string_view::npos) return "a NUL byte";
  const KernelDmiField& kind = kKernelDmiFields[file];
  if (kind.kind == KernelDmiKind::kString || ParseNumbers(kind, text, numbers)) return {};
  return std::string("not ") + kWanted[static_cast<size_t>(kind.kind)];
}

enum class DmiIdRead { kRead, kNotRead, kFault };

// The text of the file at `path` without its final line feed; with why,
// kNotRead when it cannot be read (a file for root only, as a user), kFault
// when it is no regular file (sysfs attributes are), changes while read, or
// is not as the kernel writes kKernelDmiFields[file].
DmiIdRead ReadDmiIdFile(const std::string& path, size_t file, std::string* text, std::string* why) {
  std::error_code status;
  if (!std::filesystem::is_regular_file(path, status)) {  // a FIFO is never opened, a device never read
    *why = status ? status.message() : "not as the kernel writes it: not a regular file";
    return DmiIdRead::kFault;
  }
  std::vector<uint8_t> bytes;
  const platform::FileRead read = platform::ReadFileOnce(path, 65536, &bytes, why);
  if (read != platform::FileRead::kWhole)
    return read == platform::FileRead::kFailed ? DmiIdRead::kNotRead : DmiIdRead::kFault;
  text->assign(bytes.begin(), bytes.end());
  if (!text->empty() && text->back() == '\n') text->pop_back();
  if (const std::string malformed = Malformed(file, *text); !malformed.empty()) {
    *why = "not as the kernel writes it: " + malformed;
    return DmiIdRead::kFault;
  }
  return DmiIdRead::kRead;
}

}  // namespace

bool ReadDmiIdFolder(const std::string& path, DmiIdTexts* texts, DmiIdUnread* unread, std::vector<std::string>* faults,
                     std::string* error) {
  std::error_code status;
  if (!std::filesystem::is_directory(path, status)) {
    *error = path + ": " + (status ? status.message() : "not a folder");
    return false;
  }
  for (size_t i = 0; i < kKernelDmiFields.size(); ++i) {
    const std::string file = path + "/" + kKernelDmiFields[i].name;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, status))) continue;
    std::string text, why;
    const DmiIdRead read = ReadDmiIdFile(file, i, &text, &why);
    if (read == DmiIdRead::kRead) {
      (*texts)[i] = std::move(text);
      continue;
    }
    // A file for root only that a user cannot open is as expected: its names need the table, unsaid.
    (*unread)[i] = true;
    if (!kKernelDmiFields[i].root_only || read == DmiIdRead::kFault) faults->push_back(file + ": " + why);
  }
  return true;
}

std::vector<uint8_t> DmiIdTable(const DmiIdTexts& texts) {
  std::vector<uint8_t> table;
  for (uint8_t type = 0; type <= 3; ++type) {
    if (!AnyOfType(texts, type)) continue;
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
  AppendEndOfTable(table, 0xFFFF);
  return table;
}

bool AnswersExactly(const DmiIdTexts& texts, const DmiIdUnread& unread, NameExport entry) {
  if (entry == &f_randx) return true;  // random digits read no table
  // Without a file, the BIOS release is either beyond a short structure
  // (N/A) or FFh FFh (255.255); only the EC release's file tells which.
  if (entry == &_smbbiosrev) {
    return !unread[kBiosRelease] && !unread[kEcRelease] &&
           (texts[kBiosRelease] || texts[kEcRelease] || !AnyOfType(texts, 0));
  }
  // The chassis type without its lock bit; both asset tags; the EC
  // release, N/A alike for FFh FFh and a short structure.
  // The UUID's file is absent where _smbuuid answers N/A: all 00h or FFh,
  // or no System Information structure long enough to hold it.
  if (entry == &_smbuuid) return !unread[kUuidFile];
  if (entry == &_smbchassistype || entry == &_smbbox) return !unread[kChassisTypeFile];
  if (entry == &_smbecversion) return !unread[kEcRelease];
  // The chassis asset tag, or failing that the board's.
  if (entry == &_smbassettag) return !unread[kBoardAssetTag] && !unread[kChassisAssetTag];
  return IsStringOfAFile(entry, unread);
}

}  // namespace tarnwick::cli
