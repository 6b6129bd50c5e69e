// What each numeric argument of a structure function may be, and the reading
// of one argument of the split list against its rule.
#pragma once

#include <cstdint>

namespace tarnwick {

// Tested in this order: absent (`missing` null: optional, the caller's
// default stays), not a number, outside lowest..highest.
struct ArgumentRule {
  const char16_t* missing;
  const char16_t* not_number;
  const char16_t* out_of_range;
  uint32_t lowest;
  uint32_t highest;
};

inline constexpr ArgumentRule kTypeRule = {u"Missing structure type\r\n", u"Bad structure type \"%s\"\r\n",
                                           u"Bad structure type (must be 0 - 255) \"%s\"\r\n", 0, 255};
inline constexpr ArgumentRule kHandleRule = {nullptr, u"Bad handle \"%s\"\r\n",
                                             u"Bad handle (must be 0x0000 - 0xffff) \"%s\"\r\n", 0, 0xFFFF};
inline constexpr ArgumentRule kFlagsRule = {nullptr, u"Bad flags \"%s\"\r\n", nullptr, 0, 0xFFFFFFFF};

// Splits `text` and reads its first `count` arguments by `rules`, in order,
// into `values`. On a bad argument writes the first diagnostic that applies
// (as the split stored the argument) and returns false.
bool ReadArguments(const char16_t* text, const ArgumentRule* rules, int count, uint32_t* values);

}  // namespace tarnwick
