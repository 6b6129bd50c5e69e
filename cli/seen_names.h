// The names a JSON object has written, so that a name asked again is left
// out, kept in 8 bytes a name whatever its length: a 64-bit hash (FNV-1a;
// two names of one hash, odds below one in a million for the millions of
// names of a 16 MiB batch file, would lose the second's member).
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tarnwick::cli {

class SeenNames {
 public:
  // Room for `more` names, reserved (not yet used) so that the kept hashes
  // are never copied while they grow.
  void Expect(size_t more) { sorted_.reserve(sorted_.size() + recent_.size() + more); }
  // True the first time `name` comes.
  bool Insert(std::string_view name);

 private:
  void Merge();

  std::vector<uint64_t> sorted_;
  std::unordered_set<uint64_t> recent_;  // merged into sorted_ when it fills
};

}  // namespace tarnwick::cli
