#include "functions/argument_list.h"

#include "host/diagnostics.h"

namespace tarnwick {

ArgumentList g_arguments;

namespace {

// Entries from this position on are null and 0: a split writes only the
// entries it reaches, and clears each one as it reaches it, so a reset of
// all 1024 texts and lengths (12 KiB) per call is not needed. Until the
// first split every entry counts as written.
int32_t g_entries_written = kMaxArguments;

void ClearEntry(ArgumentList& list, int32_t k) {
  list.texts[k] = nullptr;
  list.lengths[k] = 0;
}

// Clears what the last split wrote beyond this one's reach and records the
// reach for the next.
void FinishEntries(ArgumentList& list, int32_t reached) {
  for (int32_t k = reached; k < g_entries_written; ++k) ClearEntry(list, k);
  g_entries_written = reached;
}

void ReportOverflow(int32_t used) {
  Diagnose(u"Buffer overflow: b = %d, MAX_ARG_LEN = %d \r\n", used, static_cast<int32_t>(kMaxArgLen));
}

void TrimTrailingWhiteSpace(ArgumentList& list) {
  for (int32_t k = 0; k < list.count; ++k) {
    auto* text = const_cast<char16_t*>(list.texts[k]);
    while (list.lengths[k] > 0 && IsWhiteSpace(text[list.lengths[k] - 1])) text[--list.lengths[k]] = 0;
  }
}

}  // namespace

int32_t SplitArguments(const char16_t* text) {
  if (text == nullptr) return -1;
  ArgumentList& list = g_arguments;
  ClearEntry(list, 0);
  int32_t reached = 1;  // entries cleared so far
  list.count = 0;

  // Slots in use count stored characters and separating commas alike; the
  // last store slot is kept for the NUL behind the final character.
  constexpr int32_t kLastSlot = static_cast<int32_t>(kMaxArgLen) - 1;
  int32_t index = 0;
  int32_t length = 0;
  int32_t used = 0;
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
      if (used >= kLastSlot) {
        FinishEntries(list, reached);
        ReportOverflow(used);
        return -1;
      }
      ++index;
      length = 0;
      list.store[++used] = 0;
      if (index < kMaxArguments) {
        ClearEntry(list, index);
        reached = index + 1;
      }
    } else if (c == 0) {
      if (length > 0) ++index;
      break;
    } else {
      if (used >= kLastSlot) {
        FinishEntries(list, reached);
        ReportOverflow(used);
        return -1;
      }
      if (index >= kMaxArguments) continue;
      if (length == 0) list.texts[index] = &list.store[used];
      list.store[used++] = UpperCase(c);
      list.store[used] = 0;
      list.lengths[index] = ++length;
    }
  }
  FinishEntries(list, reached);
  list.count = index < kMaxArguments ? index : kMaxArguments;
  TrimTrailingWhiteSpace(list);
  return list.count;
}

int32_t ParseNumber(const char16_t* text, uint32_t* value) {
  if (text == nullptr || value == nullptr) return -1;
  const NumberScan scan = ScanNumber(text);
  if (scan.stop == text || *scan.stop != 0 || scan.value > 0xFFFFFFFFu) return -1;
  *value = static_cast<uint32_t>(scan.value);
  return 0;
}

}  // namespace tarnwick
