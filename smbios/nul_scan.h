// Searches for the NULs that end strings and string-sets (DSP0134 6.1.3),
// inline and many bytes per step: a C library call per string costs more
// than the string. SSE2 (every x86-64) reads 16 bytes per step; elsewhere
// eight bytes per step in a 64-bit word.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarnwick {

static_assert(std::endian::native == std::endian::little, "the masks below number bytes from the low end");

// The high bit of each byte of `word` that is zero, and no other bit: no
// carry crosses a byte, so the mask is exact, not merely nonzero.
inline uint64_t ZeroBytes(uint64_t word) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  return ~(((word & kLow7) + kLow7) | word | kLow7);
}

inline uint64_t LoadWord(const uint8_t* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// The portable search for a NUL pair from `p` on, for every p + 1 < size.
inline size_t FindNulPairByWords(const uint8_t* bytes, size_t p, size_t size) {
  for (; p + 9 <= size; p += 8) {
    const uint64_t pairs = ZeroBytes(LoadWord(bytes + p)) & ZeroBytes(LoadWord(bytes + p + 1));
    if (pairs != 0) return p + static_cast<size_t>(std::countr_zero(pairs)) / 8;
  }
  for (; p + 1 < size; ++p) {
    if (bytes[p] == 0 && bytes[p + 1] == 0) return p;
  }
  return size;
}

// The portable search for a NUL from `p` on, for every p < size.
inline size_t FindNulByWords(const uint8_t* bytes, size_t p, size_t size) {
  for (; p + 8 <= size; p += 8) {
    const uint64_t zeros = ZeroBytes(LoadWord(bytes + p));
    if (zeros != 0) return p + static_cast<size_t>(std::countr_zero(zeros)) / 8;
  }
  for (; p < size; ++p) {
    if (bytes[p] == 0) return p;
  }
  return size;
}

#if defined(__SSE2__)
inline uint32_t ZeroMask16(const uint8_t* at) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
}
#endif

// Strings are short: most end within the first steps, which run inline.
// Past kInlineBytes the C library's search takes over, whose call is then
// worth its width (AVX2 or AVX-512 where the machine has them).
inline constexpr size_t kInlineBytes = 128;

inline size_t LibraryFindNul(const uint8_t* bytes, size_t p, size_t size) {
  if (p >= size) return size;
  const void* zero = std::memchr(bytes + p, 0, size - p);
  return zero == nullptr ? size : static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes);
}

// The first p >= from with bytes p and p + 1 both zero and p + 1 < size;
// size when there is none. Reads nothing at or past size.
inline size_t FindNulPair(const uint8_t* bytes, size_t from, size_t size) {
  size_t p = from;
  for (;;) {
    // One bound per step: the buffer's end or the end of the inline steps.
    const size_t inline_size = (p >= size || size - p <= kInlineBytes) ? size : p + kInlineBytes;
#if defined(__SSE2__)
    // Bit i: bytes p + i and p + i + 1 are both zero.
    for (; p + 17 <= inline_size; p += 16) {
      const uint32_t pairs = ZeroMask16(bytes + p) & ZeroMask16(bytes + p + 1);
      if (pairs != 0) return p + static_cast<size_t>(std::countr_zero(pairs));
    }
#else
    for (; p + 9 <= inline_size; p += 8) {
      const uint64_t pairs = ZeroBytes(LoadWord(bytes + p)) & ZeroBytes(LoadWord(bytes + p + 1));
      if (pairs != 0) return p + static_cast<size_t>(std::countr_zero(pairs)) / 8;
    }
#endif
    if (inline_size == size) return FindNulPairByWords(bytes, p, size);
    // No pair in kInlineBytes: most likely a long string. Its end is a NUL;
    // from there the inline steps go on.
    p = LibraryFindNul(bytes, p, size - 1);
    if (p + 1 >= size) return size;
    if (bytes[p + 1] == 0) return p;
    p += 1;
  }
}

// The first p >= from with byte p zero and p < size; size when there is
// none. Reads nothing at or past size.
inline size_t FindNul(const uint8_t* bytes, size_t from, size_t size) {
  size_t p = from;
  const size_t inline_size = (p >= size || size - p <= kInlineBytes) ? size : p + kInlineBytes;
#if defined(__SSE2__)
  for (; p + 16 <= inline_size; p += 16) {
    const uint32_t zeros = ZeroMask16(bytes + p);
    if (zeros != 0) return p + static_cast<size_t>(std::countr_zero(zeros));
  }
#else
  for (; p + 8 <= inline_size; p += 8) {
    const uint64_t zeros = ZeroBytes(LoadWord(bytes + p));
    if (zeros != 0) return p + static_cast<size_t>(std::countr_zero(zeros)) / 8;
  }
#endif
  if (inline_size == size) return FindNulByWords(bytes, p, size);
  return LibraryFindNul(bytes, p, size);
}

}  // namespace tarnwick
