#include "cli/input/dmi_id.h"

#include <filesystem>

#include "platform/system.h"
#include "smbios/model/kernel_dmi_table.h"

namespace tarnwick::cli {
namespace {

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

bool ReadDmiIdFolder(const std::string& path, KernelDmiTexts* texts, KernelDmiUnread* unread,
                     std::vector<std::string>* faults, std::string* error) {
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

}  // namespace tarnwick::cli
