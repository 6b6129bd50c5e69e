// What in the held table makes answers wrong or empty: the walk's end, the
// lengths of the structures that names read, their string numbers, firmware
// placeholders and undefined values. Findings are data; the program that
// shows them words them.
#pragma once

#include <cstddef>
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
  // The entry point's (DSP0134 5.2); `offset` is the field's in it.
  kEntryPointChecksum,     // the bytes it covers sum to `found`, not 0
  kEntryPointLength,       // length byte `found`, not the `expected` of its kind
  kAddressPastFile,        // the table's address `found`, past the file's `expected` bytes
  kLengthPastFile,         // the table's length `found`; the file holds `expected` from its address
  kStructureCountMismatch, // `expected` structures announced, `found` in the table
};

inline constexpr int32_t kNoValue = -1;

struct Finding {
  FindingKind kind{};
  int32_t handle = kNoValue;
  int32_t type = kNoValue;
  int32_t offset = kNoValue;       // of the field, from the structure's start
  const char* field = nullptr;  // its DSP0134 name
  uint64_t found = 0;
  uint64_t expected = 0;
  uint32_t position = 0;  // of the structure, from the table's start
  std::string_view text;  // the string found, inside the held table
  bool in_entry_point = false;
};

// The entry point in front of the table, where there is one: a dump's first
// bytes, or the kernel's smbios_entry_point file.
struct EntryPointBytes {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  // A dump's size, which the table's address and length must fit; 0 where
  // the table lies elsewhere (the kernel's DMI file).
  uint64_t file_size = 0;
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

// Checks the held table (LoadTable), structures in table order, then the
// walk's end, then the entry point when one is given.
std::vector<Finding> CheckTable(const EntryPointBytes& entry = {});

}  // namespace tarnwick
