#include "functions/argument_list.h"

#include "host/diagnostics.h"

namespace tarnwick {

thread_local ArgumentList g_arguments;

namespace {

// Entries from this position on are null and 0 already: a split clears what
// the split before it wrote, not all 1024 entries (12 KiB of stores, three
// quarters of a call's time), and leaves the list as a full reset would.
thread_local int32_t t_entries_written = kMaxArguments;

int32_t ReportOverflow(int32_t used) {
  Diagnose(u"Buffer overflow: b = %d, MAX_ARG_LEN = %d \r\n", used, static_cast<int32_t>(kMaxArgLen));
  return -1;
}

// An argument's entry and closing NUL are written when it ends, not at every
// character; an empty argument's entry is null and 0. Returns the count of
// entries written so far.
int32_t EndArgument(ArgumentList& list, int32_t index, int32_t length, char16_t* end) {
  *end = 0;
  if (index >= kMaxArguments) return kMaxArguments;
  if (length == 0) list.texts[index] = nullptr;
  list.lengths[index] = length;
  return index + 1;
}

// Every entry up to the last argument is written; what the split before
// wrote beyond them is cleared.
void ClearBeyond(ArgumentList& list, int32_t ended, int32_t written_before) {
  for (int32_t k = ended; k < written_before; ++k) {
    list.texts[k] = nullptr;
    list.lengths[k] = 0;
  }
  t_entries_written = ended;
}

void TrimTrailingWhiteSpace(ArgumentList& list) {
  for (int32_t k = 0; k < list.count; ++k) {
    auto* text = const_cast<char16_t*>(list.texts[k]);
    while (list.lengths[k] > 0 && IsWhiteSpace(text[list.lengths[k] - 1])) text[--list.lengths[k]] = 0;
  }
}

// 0-15 for a digit of `base` (10 or 16), `base` or more for anything else.
uint32_t DigitValue(char16_t c, uint32_t base) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
  return base;
}

bool IsHexPrefix(const char16_t* text) {
  return text[0] == u'0' && UpperCase(text[1]) == u'X' && DigitValue(text[2], 16) < 16;
}

}  // namespace

int32_t SplitArguments(const char16_t* text) {
  if (text == nullptr) return -1;
  ArgumentList& list = g_arguments;
  list.count = 0;
  const int32_t written_before = t_entries_written;

  // Slots in use count stored characters and separating commas alike; the
  // last store slot is kept for the NUL behind the final character.
  char16_t* const last_slot = list.store + kMaxArgLen - 1;
  char16_t* out = list.store;  // the next slot
  int32_t index = 0;
  int32_t length = 0;
  bool quoted = false;
  for (const char16_t* at = text;; ++at) {
    const char16_t c = *at;
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && length == 0 && IsWhiteSpace(c)) {
      continue;
    } else if (!quoted && c == u',') {
      // A text longer than the host's buffer may hold more commas than the
      // store has slots: the comma is held to the same bound as a character.
      if (out >= last_slot) break;
      EndArgument(list, index, length, out);
      ++index;
      length = 0;
      *++out = 0;
    } else if (c == 0) {
      const int32_t ended = EndArgument(list, index, length, out);
      if (length > 0) ++index;
      ClearBeyond(list, ended, written_before);
      list.count = index < kMaxArguments ? index : kMaxArguments;
      TrimTrailingWhiteSpace(list);
      return list.count;
    } else {
      if (out >= last_slot) break;
      if (index >= kMaxArguments) continue;
      if (length == 0) list.texts[index] = out;
      *out++ = UpperCase(c);
      ++length;
    }
  }
  // The store is full.
  ClearBeyond(list, EndArgument(list, index, length, out), written_before);
  return ReportOverflow(static_cast<int32_t>(out - list.store));
}

int32_t ParseNumber(const char16_t* text, uint32_t* value) {
  if (text == nullptr || value == nullptr) return -1;
  uint32_t base = 10;
  const char16_t* at = text;
  if (IsHexPrefix(at)) {
    base = 16;
    at += 2;
    // Like the C library's conversion in base 16, one more "0x" may stand
    // in front of the digits: 0x0x1F reads as 31.
    if (IsHexPrefix(at)) at += 2;
  } else if (DigitValue(*at, 10) >= 10) {
    return -1;
  }
  uint64_t number = 0;
  for (uint32_t digit; (digit = DigitValue(*at, base)) < base; ++at) {
    number = number * base + digit;
    if (number > 0xFFFFFFFFu) return -1;  // out of range, whatever follows
  }
  if (*at != 0) return -1;
  *value = static_cast<uint32_t>(number);
  return 0;
}

}  // namespace tarnwick
