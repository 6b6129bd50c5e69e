#include "cli/names/seen_names.h"

#include <algorithm>

namespace tarnwick::cli {
namespace {

// Merging every kRecent names keeps insertion linear in practice: a 16 MiB
// batch file holds at most a few million names, some thirty merges. A set of
// all of them would take some 80 bytes a name, beyond the memory bound.
constexpr size_t kRecent = 65536;

}  // namespace

bool SeenNames::Insert(std::string_view name) {
  const auto kept = std::lower_bound(sorted_.begin(), sorted_.end(), name,
                                     [this](Place place, std::string_view other) { return Name(place) < other; });
  if (kept != sorted_.end() && Name(*kept) == name) return false;
  if (!recent_.emplace(name).second) return false;
  if (recent_.size() == kRecent) Merge();
  return true;
}

// The recent names, in order, appended to the kept ones and merged with them.
void SeenNames::Merge() {
  const size_t kept = sorted_.size();
  for (const std::string& name : recent_) {
    sorted_.push_back({static_cast<uint32_t>(names_.size()), static_cast<uint32_t>(name.size())});
    names_ += name;
  }
  recent_.clear();
  std::inplace_merge(sorted_.begin(), sorted_.begin() + static_cast<std::ptrdiff_t>(kept), sorted_.end(),
                     [this](Place a, Place b) { return Name(a) < Name(b); });
}

}  // namespace tarnwick::cli
