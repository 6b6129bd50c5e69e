#include "functions/random_generator.h"

namespace tarnwick {
namespace {

thread_local uint32_t t_state = 1;

uint32_t Advance(uint32_t state) { return state * 214013u + 2531011u; }
uint32_t Draw(uint32_t state) { return (state >> 16) & 0x7FFF; }

}  // namespace

void SeedRandom(uint32_t seed) { t_state = seed; }

void DrawHexDigits(char16_t* out, uint32_t count) {
  // One read and one write of the thread's state per call: on Windows a
  // thread-local variable costs a runtime lookup per access.
  uint32_t state = t_state;
  for (uint32_t i = 0; i < count; ++i) {
    state = Advance(state);
    out[i] = u"0123456789ABCDEF"[Draw(state) & 0xF];
  }
  t_state = state;
}

}  // namespace tarnwick
