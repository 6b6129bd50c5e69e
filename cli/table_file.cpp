#include "cli/table_file.h"

#include <optional>

#include "cli/dump_layout.h"

namespace tarnwick::cli {
namespace {

const std::string kTooLarge = ": larger than any SMBIOS table (16 MiB)";

// Reads `path` up to `limit` bytes, then (when `more` gives a new limit
// from what stands in the first bytes) on to it. False with the message.
template <class Extend>
bool ReadBounded(const std::string& path, size_t head, Extend more, Bytes* bytes, std::string* error) {
  Input input;
  std::string reason;
  if (!input.Open(path, &reason) || !input.ReadUpTo(head, bytes, &reason)) {
    *error = "cannot read " + path + ": " + reason;
    return false;
  }
  if (bytes->size() == head) {
    const std::optional<size_t> limit = more(*bytes);
    if (!limit) {
      *error = path + kTooLarge;
      return false;
    }
    if (!input.ReadUpTo(*limit, bytes, &reason)) {
      *error = "cannot read " + path + ": " + reason;
      return false;
    }
  }
  if (input.Changed()) {
    *error = path + ": changed while it was read";
    return false;
  }
  return true;
}

}  // namespace

bool ReadTableFile(const std::string& path, Bytes* service, std::string* error) {
  Bytes file;
  // The first bytes tell a dump, whose entry point names the table's end,
  // from the layouts that run to the end of the file. One byte past the
  // bound tells a file that is too large from one that just fits.
  const auto limit = [](const Bytes& head) -> std::optional<size_t> {
    const std::optional<uint64_t> end = DumpTableEnd(head);
    if (!end) return kLargestTable + 1;
    if (*end > kDumpTableAddress + kLargestTable) return std::nullopt;
    return static_cast<size_t>(*end);
  };
  if (!ReadBounded(path, kDumpTableAddress, limit, &file, error)) return false;
  if (!DumpTableEnd(file) && file.size() > kLargestTable) {
    *error = path + kTooLarge;
    return false;
  }
  if (!ServiceLayoutFromFile(std::move(file), service, error)) {
    *error = path + ": " + *error;
    return false;
  }
  return true;
}

bool ReadBatchFile(const std::string& path, std::string* text, std::string* error) {
  Bytes file;
  const auto limit = [](const Bytes&) -> std::optional<size_t> { return kLargestTable + 1; };
  if (!ReadBounded(path, 0, limit, &file, error)) return false;
  if (file.size() > kLargestTable) {
    *error = path + ": larger than any batch file tarnwick reads (16 MiB)";
    return false;
  }
  // From a pointer and a size: a copy of a range of bytes would go through a temporary string.
  text->assign(reinterpret_cast<const char*>(file.data()), file.size());
  return true;
}

}  // namespace tarnwick::cli
