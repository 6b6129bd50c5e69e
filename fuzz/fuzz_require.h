// A property that a fuzz target checks: on violation it names the property
// and traps, so libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>

namespace tarnwick::fuzzing {

[[noreturn]] inline void Violated(const char* property, const char* file, int line) {
  std::fprintf(stderr, "property violated at %s:%d: %s\n", file, line, property);
  __builtin_trap();
}

}  // namespace tarnwick::fuzzing

#define FUZZ_REQUIRE(property) \
  ((property) ? static_cast<void>(0) : ::tarnwick::fuzzing::Violated(#property, __FILE__, __LINE__))
