// Splitting a function's argument text and reading its numbers.
#pragma once

#include <cstdint>

#include "host/characters.h"
#include "host/host_interface.h"

namespace tarnwick {

inline constexpr int32_t kMaxArguments = 1024;

// Scratch list, rewritten by every split. Texts live in `store`, never in the
// host's buffer, so the caller may overwrite that buffer while it still reads
// them.
struct ArgumentList {
  const char16_t* texts[kMaxArguments];  // null: the argument got no character
  int32_t lengths[kMaxArguments];        // 0: absent
  int32_t count;
  char16_t store[kMaxArgLen];
};

// One list per thread: the host may evaluate names on more than one thread
// at a time, and a split followed by the reading of its arguments must not
// be interleaved with another thread's split.
extern thread_local ArgumentList g_arguments;

// Splits at commas outside double quotes; quotes are removed, a-z
// upper-cased, leading and trailing white space dropped. Returns the count,
// or -1 for a null text or after the store-overflow diagnostic.
int32_t SplitArguments(const char16_t* text);

// Decimal, or hexadecimal after "0x", 0 to 4294967295, with nothing before
// or after the digits. Returns 0 and the value, or -1 leaving it untouched.
int32_t ParseNumber(const char16_t* text, uint32_t* value);

}  // namespace tarnwick
