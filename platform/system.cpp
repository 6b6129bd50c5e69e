#include "platform/system.h"

#include <algorithm>

namespace tarnwick::platform {

FileRead ReadFileOnce(const std::string& path, size_t cap, std::vector<uint8_t>* bytes, std::string* reason) {
  FileReader file;
  if (!file.Open(path, reason)) return FileRead::kFailed;
  // Reserved once: no growth copies, and pages are used only as bytes arrive.
  // One byte past a regular file's size, for the read that finds its end.
  bytes->reserve(file.Regular() ? std::min<uint64_t>(cap, file.SizeAtOpen() + 1) : cap);
  while (bytes->size() < cap) {
    const size_t have = bytes->size();
    // Within what is reserved: a read past it would copy the bytes to twice the room.
    const size_t want = std::min<size_t>({cap - have, 65536, std::max<size_t>(bytes->capacity() - have, 1)});
    bytes->resize(have + want);
    const long got = file.Read(bytes->data() + have, want, reason);
    bytes->resize(have + (got > 0 ? static_cast<size_t>(got) : 0));
    if (got < 0) return FileRead::kFailed;
    if (got == 0) break;
  }
  if (!file.Changed()) return FileRead::kWhole;
  *reason = "changed while it was read";
  return FileRead::kChanged;
}

}  // namespace tarnwick::platform
