#include "cli/seen_names.h"

#include <algorithm>

namespace tarnwick::cli {
namespace {

// Merging every kRecent names keeps insertion linear in practice: a 16 MiB
// batch file holds at most a few million names, some fifty merges.
constexpr size_t kRecent = 65536;

uint64_t Fnv1a(std::string_view text) {
  uint64_t hash = 0xCBF29CE484222325u;
  for (const char c : text) hash = (hash ^ static_cast<uint8_t>(c)) * 0x100000001B3u;
  return hash;
}

}  // namespace

bool SeenNames::Insert(std::string_view name) {
  const uint64_t hash = Fnv1a(name);
  if (std::binary_search(sorted_.begin(), sorted_.end(), hash) || !recent_.insert(hash).second) return false;
  if (recent_.size() == kRecent) Merge();
  return true;
}

// The recent hashes, sorted, merged into the sorted ones from the back, in place.
void SeenNames::Merge() {
  std::vector<uint64_t> run(recent_.begin(), recent_.end());
  recent_.clear();
  std::sort(run.begin(), run.end());
  size_t kept = sorted_.size(), added = run.size();
  sorted_.resize(kept + added);
  while (added != 0) {
    const size_t to = kept + added - 1;
    if (kept == 0 || run[added - 1] > sorted_[kept - 1]) {
      sorted_[to] = run[--added];
    } else {
      sorted_[to] = sorted_[--kept];
    }
  }
}

}  // namespace tarnwick::cli
