// The spellings that the type files write their rows with: one builder per
// kind of field, in DSP0134's column order (offset, width, version, name).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "smbios/description/field_row.h"

namespace tarnwick::rows {

constexpr FieldRow Number(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name) {
  return {.type = type, .offset = offset, .width = width, .since = since, .name = name};
}
constexpr FieldRow String(uint8_t type, uint8_t offset, Since since, const char* name) {
  return {.type = type, .offset = offset, .width = 1, .since = since, .name = name, .kind = FieldKind::kString};
}
// An enumeration: valid where `words` has a word; in the bits `bits` when set.
constexpr FieldRow Enum(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name, Words words,
                        uint64_t bits = 0) {
  return {.type = type, .offset = offset, .width = width, .since = since, .name = name, .kind = FieldKind::kEnum,
          .bits = bits, .words = words};
}
constexpr FieldRow Flags(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name,
                         uint64_t reserved, BitNames names = {}) {
  return {.type = type, .offset = offset, .width = width, .since = since, .name = name, .kind = FieldKind::kFlags,
          .bits = reserved, .bit_names = names};
}
// A handle of a structure of one of `targets`; `none` names the values that
// point at no structure.
constexpr FieldRow Handle(uint8_t type, uint8_t offset, Since since, const char* name, TypeSet targets,
                          Words none = {}) {
  return {.type = type, .offset = offset, .width = 2, .since = since, .name = name, .kind = FieldKind::kHandle,
          .words = none, .targets = targets};
}
constexpr FieldRow Zero(uint8_t type, uint8_t offset, uint8_t width, Since since, const char* name) {
  return {.type = type, .offset = offset, .width = width, .since = since, .name = name, .kind = FieldKind::kZero};
}

// Rows written in parts (a layout that types share), as one array.
template <size_t... N>
constexpr std::array<FieldRow, (N + ...)> Join(const std::array<FieldRow, N>&... parts) {
  std::array<FieldRow, (N + ...)> all{};
  size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + at), at += N), ...);
  return all;
}

// Special meanings that many fields share.
inline constexpr Word kUnknown8000[] = {{0x8000, "Unknown"}};
inline constexpr Word kUnknownFFFF[] = {{0xFFFF, "Unknown"}};
inline constexpr Word kUnknownFF[] = {{0xFF, "Unknown"}};
inline constexpr Word kNotProvided[] = {{0xFFFE, "Not Provided"}};
inline constexpr Word kNoErrorInformation[] = {{0xFFFE, "Not Provided"}, {0xFFFF, "No Error"}};
inline constexpr Word kNoHandle[] = {{0xFFFF, "None"}};

}  // namespace tarnwick::rows
