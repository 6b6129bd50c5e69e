#include "smbios/structure_lookup.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "plugin/result_text.h"
#include "smbios/firmware_table.h"
#include "smbios/nul_scan.h"

namespace tarnwick {

namespace {

// The first position from `from` on whose entry bears `wanted`, or `count`.
uint32_t FindTypeAndHandle(const uint32_t* entries, uint32_t from, uint32_t count, uint32_t wanted) {
  uint32_t i = from;
#if defined(__SSE2__)
  // An index built smaller than one step (tests build one of 4) never takes it.
  if constexpr (kMaxStructures >= 8) {
    const __m128i key = _mm_set1_epi32(static_cast<int32_t>(wanted));
    for (; i + 8 <= count; i += 8) {
      const __m128i low = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + i)), key);
      const __m128i high = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + i + 4)), key);
      const int matches = _mm_movemask_ps(_mm_castsi128_ps(low)) | _mm_movemask_ps(_mm_castsi128_ps(high)) << 4;
      if (matches != 0) return i + static_cast<uint32_t>(std::countr_zero(static_cast<uint32_t>(matches)));
    }
  }
#endif
  for (; i < count; ++i) {
    if (entries[i] == wanted) return i;
  }
  return count;
}

}  // namespace

const uint8_t* FindStructure(uint8_t type, int32_t handle) {
  const StructureIndex& index = g_structure_index;
  const uint32_t first = index.first_of_type[type];
  if (index.count == 0 || first == kNoStructure) return nullptr;
  if (handle < 0 || handle > 0xFFFF) return index.entries[first];
  const uint32_t found =
      FindTypeAndHandle(index.type_and_handle, first, index.count, TypeAndHandle(type, static_cast<uint32_t>(handle)));
  return found < index.count ? index.entries[found] : nullptr;
}

namespace {

// String `number` (1 or more) of a structure already known to be valid.
int32_t ReadNumberedString(const uint8_t* structure, uint32_t number, char16_t* out) {
  // Strings are numbered from 1 in the order they follow the formatted area
  // (DSP0134 6.1.3). Every string passed is non-empty, so the walk stops at
  // the closing NUL pair, which validity places inside the buffer.
  const uint8_t* table = g_firmware_table.buffer;
  const size_t size = g_firmware_table.size;
  size_t at = static_cast<size_t>(structure - table) + structure[1];
  for (uint32_t n = 1;; ++n) {
    if (table[at] == 0) {
      WriteNotAvailable(out);
      return kStringMissing;
    }
    if (n == number) break;
    at = FindNul(table, at, size) + 1;
  }
  const size_t count = FindNul(table, at, size) - at;
  if (count >= kMaxArgLen) {
    WriteNotAvailable(out);
    return kStringTooLong;
  }
  const uint8_t* text = table + at;
  for (size_t i = 0; i < count; ++i) out[i] = text[i];
  out[count] = 0;
  return kStringFound;
}

// GetStructureString for a structure already known to be valid.
int32_t ReadValidString(const uint8_t* structure, uint32_t offset, char16_t* out) {
  const uint32_t length = structure[1];
  if (offset < 4 || offset >= length) return kStringBadOffset;

  // "N/A" unless a string is found; where one is, "N/A" is not written first.
  const uint32_t number = structure[offset];
  if (number == 0) {
    WriteNotAvailable(out);
    return kStringFound;
  }
  return ReadNumberedString(structure, number, out);
}

}  // namespace

int32_t GetStructureString(const uint8_t* structure, uint32_t offset, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  if (!NextStructure(structure, nullptr)) return kStringInvalid;
  return ReadValidString(structure, offset, out);
}

int32_t GetIndexedStructureString(const uint8_t* structure, uint32_t offset, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  return ReadValidString(structure, offset, out);
}

int32_t GetIndexedNumberedString(const uint8_t* structure, uint32_t number, char16_t* out) {
  if (structure == nullptr || out == nullptr) return kStringNoInput;
  if (number == 0) {
    WriteNotAvailable(out);
    return kStringFound;
  }
  return ReadNumberedString(structure, number, out);
}

}  // namespace tarnwick
