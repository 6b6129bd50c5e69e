// The names a JSON object has written, so that a name asked again is left
// out. Each name is kept once and compared as a name: its bytes one after
// another in one string, and its place there (8 bytes) in name order, so
// that the two million names of a 16 MiB batch file take about 30 MiB.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::cli {

class SeenNames {
 public:
  // Room for `more` names, reserved (not yet used) so that the places kept
  // are never copied while they grow.
  void Expect(size_t more) { sorted_.reserve(sorted_.size() + recent_.size() + more); }
  // True the first time `name` comes.
  bool Insert(std::string_view name);

 private:
  // Where a name stands in names_: the names of one run come from the
  // command line and a batch file of at most 16 MiB.
  struct Place {
    uint32_t at;
    uint32_t length;
  };
  std::string_view Name(Place place) const { return std::string_view(names_).substr(place.at, place.length); }
  void Merge();

  std::string names_;
  std::vector<Place> sorted_;  // in name order
  std::set<std::string, std::less<>> recent_;  // merged into sorted_ when it fills
};

}  // namespace tarnwick::cli
