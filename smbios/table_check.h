// What in the held table makes answers wrong or empty: the walk's end, the
// lengths of the structures that names read, their string numbers, firmware
// placeholders and undefined values. Findings are data; the program that
// shows them words them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarnwick {

enum class FindingKind : uint8_t {
  kLengthBelowHeader,     // a length byte below 4 (`found`): the walk stops there
  kPastTableEnd,          // a structure's string-set does not close inside the table
  kNoEndOfTable,          // the walk ended without an end-of-table structure
  kTableLengthMismatch,   // `expected` bytes announced, the structures use `found`
  kShortForVersion,       // length `found`, below the `expected` that the version requires
  kStringBeyondSet,       // string number `found`, the set holds `expected` strings
  kPlaceholderText,       // `text` is a placeholder
  kPlaceholderUuid,       // the UUID's bytes are a placeholder
  kUndefinedChassisType,  // chassis type `found` (bits 6-0)
};

inline constexpr int32_t kNone = -1;

struct Finding {
  FindingKind kind{};
  int32_t handle = kNone;
  int32_t type = kNone;
  int32_t offset = kNone;       // of the field, from the structure's start
  const char* field = nullptr;  // its DSP0134 name
  uint32_t found = 0;
  uint32_t expected = 0;
  uint32_t position = 0;  // of the structure, from the table's start
  std::string_view text;  // the string found, inside the held table
};

// Each minimum length takes effect from its SMBIOS version on.
struct MinimumLength {
  uint8_t type;
  uint8_t major;
  uint8_t minor;
  uint8_t length;
};

// The shortest length the version allows for `type`, the type's first
// minimum for a table of unknown version; 0 for a type without rows.
uint8_t RequiredLength(uint8_t type, uint8_t major, uint8_t minor);

// Checks the held table (LoadTable), structures in table order.
std::vector<Finding> CheckTable();

}  // namespace tarnwick
