#include "cli/dmi_id.h"

#include <filesystem>

#include "host/exports.h"
#include "platform/system.h"
#include "smbios/kernel_dmi_table.h"

namespace tarnwick::cli {
namespace {

constexpr size_t kBiosRelease = KernelDmiFieldIndex("bios_release");
constexpr size_t kEcRelease = KernelDmiFieldIndex("ec_firmware_release");
constexpr size_t kBoardAssetTag = KernelDmiFieldIndex("board_asset_tag");
constexpr size_t kChassisTypeFile = KernelDmiFieldIndex("chassis_type");
constexpr size_t kChassisAssetTag = KernelDmiFieldIndex("chassis_asset_tag");
constexpr size_t kUuidFile = KernelDmiFieldIndex("product_uuid");
static_assert(kUuidFile < kKernelDmiFields.size() && kChassisTypeFile < kKernelDmiFields.size());

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
  if (text.find('\0') != std::string_view::npos) return "a NUL byte";
  const KernelDmiField& field = kKernelDmiFields[file];
  if (KernelDmiTextWellFormed(field, text)) return {};
  return std::string("not ") + kWanted[static_cast<size_t>(field.kind)];
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

bool AnswersExactly(const DmiIdTexts& texts, const DmiIdUnread& unread, NameExport entry) {
  if (entry == &f_randx) return true;  // random digits read no table
  // Without a file, the BIOS release is either beyond a short structure
  // (N/A) or FFh FFh (255.255); only the EC release's file tells which.
  if (entry == &_smbbiosrev) {
    return !unread[kBiosRelease] && !unread[kEcRelease] &&
           (texts[kBiosRelease] || texts[kEcRelease] || !AnyKernelDmiText(texts, 0));
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
