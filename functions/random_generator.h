// The pseudo-random generator behind @randx: one 32-bit state per thread,
// 1 until the thread seeds it.
#pragma once

#include <cstdint>

namespace tarnwick {

void SeedRandom(uint32_t seed);

// `count` draws, each advancing the state (x * 214013 + 2531011 mod 2^32)
// and giving the hexadecimal digit of the low 4 bits of its bits 16 to 30
// ("0" to "9", "A" to "F"), written to out[0 .. count - 1].
void DrawHexDigits(char16_t* out, uint32_t count);

}  // namespace tarnwick
