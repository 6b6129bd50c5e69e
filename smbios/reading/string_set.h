// The walk of a structure's string-set (DSP0134 6.1.3): strings numbered from
// 1 in the order they follow the formatted area, each non-empty and ending in
// a NUL; the set ends at the first empty one, the second NUL of the pair. One
// step at a time, so that the plug-in walks without allocating.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarnwick {

// The string that begins at `at` in a set that must close before `end`; empty
// at the set's end, and where no NUL ends it before `end`. The next string
// begins one byte after it.
inline std::string_view StringAt(const uint8_t* at, const uint8_t* end) {
  if (at >= end) return {};
  const void* nul = std::memchr(at, 0, static_cast<size_t>(end - at));
  if (nul == nullptr) return {};
  return {reinterpret_cast<const char*>(at), static_cast<size_t>(static_cast<const uint8_t*>(nul) - at)};
}

}  // namespace tarnwick
