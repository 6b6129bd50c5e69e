#include "cli/table_file.h"

#include <utility>

#include "cli/dump_layout.h"
#include "platform/system.h"
#include "smbios/firmware_table.h"

namespace tarnwick::cli {
namespace {

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
  if (!ServiceLayoutFromFile(std::move(file), service, error)) {
    *error = path + ": " + *error;
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
