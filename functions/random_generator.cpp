#include "functions/random_generator.h"

namespace tarnwick {
namespace {
thread_local uint32_t t_state = 1;
}

void SeedRandom(uint32_t seed) { t_state = seed; }

uint32_t DrawRandom() {
  t_state = t_state * 214013u + 2531011u;
  return (t_state >> 16) & 0x7FFF;
}

}  // namespace tarnwick
