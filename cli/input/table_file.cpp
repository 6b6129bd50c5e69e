#include "cli/input/table_file.h"

#include <charconv>
#include <utility>

#include "platform/system.h"
#include "smbios/model/dump_layout.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick::cli {
namespace {

// Why a file of `size` bytes is no table that tarnwick takes.
std::string RefusalText(const FileLayout& layout, size_t size) {
  char digits[16];
  switch (layout.refusal) {
    case FileRefusal::kEntryPointCut:
      return std::string("the ") + LayoutOf(layout.kind)->anchor + " entry point is cut short";
    case FileRefusal::kNoTableLength:
      return std::string("the ") + LayoutOf(layout.kind)->anchor + " entry point gives a table length of 0";
    case FileRefusal::kAddressPastFile:
      return "the table address 0x" +
             std::string(digits, std::to_chars(digits, digits + sizeof digits, layout.table_address, 16).ptr) +
             " lies past the end of the file (" + std::to_string(size) + " bytes)";
    case FileRefusal::kHeaderLengthMismatch:
      return "the firmware-service header gives a table length of " + std::to_string(layout.stated_length) +
             " bytes, but " + std::to_string(size - kServiceHeaderSize) + " bytes follow the header";
    case FileRefusal::kNotATable:
      return "not an SMBIOS table: no entry point, no firmware-service header, and its bytes do not walk as SMBIOS "
             "structures to an end-of-table structure or to the end of the file";
    case FileRefusal::kNone:
      break;
  }
  return {};
}

// Reads `path` once, up to one byte past kLargestTable: one byte more tells
// a file that is too large from one that just fits. False with the message.
bool ReadCapped(const std::string& path, Bytes* bytes, std::string* error) {
  std::string reason;
  switch (platform::ReadFileOnce(path, kLargestTable + 1, bytes, &reason)) {
    case platform::FileRead::kWhole:
      return true;
    case platform::FileRead::kChanged:
      *error = path + ": " + reason;
      return false;
    case platform::FileRead::kFailed:
      break;
  }
  *error = "cannot read " + path + ": " + reason;
  return false;
}

}  // namespace

bool ReadTableFile(const std::string& path, Bytes* service, std::string* error, Bytes* kept) {
  Bytes file;
  if (!ReadCapped(path, &file, error)) return false;
  if (kept != nullptr) *kept = file;
  if (file.size() > kLargestTable) {
    *error = path + ": larger than any SMBIOS table (16 MiB)";
    return false;
  }
  if (file.size() < kSmallestStructure) {  // the loader would say only that there is no table
    *error = path + ": not an SMBIOS table: " +
             (file.empty() ? std::string("empty") : std::to_string(file.size()) + " bytes, fewer than the " +
                                                        std::to_string(kSmallestStructure) + " of one structure");
    return false;
  }
  const size_t size = file.size();
  const FileLayout layout = ServiceLayoutFromFile(std::move(file), service);
  if (layout.refusal != FileRefusal::kNone) {
    *error = path + ": " + RefusalText(layout, size);
    return false;
  }
  return true;
}

bool ReadBatchFile(const std::string& path, Bytes* file, std::string* error) {
  if (!ReadCapped(path, file, error)) return false;
  if (file->size() > kLargestTable) {
    *error = path + ": larger than any batch file tarnwick reads (16 MiB)";
    return false;
  }
  return true;
}

}  // namespace tarnwick::cli
