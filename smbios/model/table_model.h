// A table as one read-only model: every structure in walk order (past the
// index's cap too), with its place, header fields and strings split once;
// the version, the header the buffer carries and the entry point the table
// came with. Built once by a pure function from the bytes the plug-in loaded,
// so the plug-in keeps its one allocation and every reader above (listing,
// checks, dumps, exports of the command line) reads the same structures the
// loader walks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "smbios/reading/entry_point.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick {

struct Structure {
  uint32_t position;  // bytes from the table's first structure
  uint32_t size;      // formatted area, string-set and closing NUL pair
  uint8_t type;
  uint8_t length;     // the formatted area's length byte
  uint16_t handle;
  const uint8_t* bytes;  // the formatted area's first byte (the type)
  std::span<const std::string_view> strings;  // string 1 first; none when the set is empty

  std::span<const uint8_t> formatted() const { return {bytes, length}; }
  // The little-endian value of the `width` bytes (1 to 8) from `offset`,
  // when the formatted area holds them all: the length byte bounds every
  // field (DSP0134 6.1.2).
  std::optional<uint64_t> Field(uint32_t offset, uint32_t width = 1) const;
  // The string that the string-number byte at `offset` selects: nothing when
  // the formatted area ends before the byte; empty for number 0 and for one
  // past the set.
  std::optional<std::string_view> StringField(uint32_t offset) const;
  // String `number` (1-based) or nothing when 0 or past the set.
  std::optional<std::string_view> String(uint32_t number) const;
};

// The entry point in front of a table, where there is one: a dump's first
// bytes, or the kernel's smbios_entry_point file.
struct EntryPointBytes {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  // A dump's size, which the table's length must fit; 0 where the table
  // lies elsewhere (the kernel's DMI file).
  uint64_t file_size = 0;
};

struct TableModel {
  std::span<const uint8_t> table;       // the structure table, header excluded
  std::optional<ServiceHeader> header;  // when the buffer carries one the loader takes
  std::optional<SmbiosVersion> version; // the header's; none for a bare table
  std::optional<EntryPoint> entry_point;  // as read, where the table came with one with an anchor
  EntryPointBytes entry_point_bytes;      // what it was read from
  std::vector<Structure> structures;    // every valid structure, walk order
  TableWalk walk;                       // how the walk ended, from the table's start
  std::vector<std::string_view> string_store;  // backs Structure::strings

  TableModel() = default;
  TableModel(TableModel&&) = default;
  TableModel& operator=(TableModel&&) = default;
  TableModel(const TableModel&) = delete;
  TableModel& operator=(const TableModel&) = delete;
};

// Splits a string-set (DSP0134 6.1.3): the strings from `set` up to the
// NUL pair, which must lie within [set, end). An empty set is a NUL pair at
// its start.
std::vector<std::string_view> SplitStringSet(const uint8_t* set, const uint8_t* end);

// The model of `buffer` as LoadTable reads it (FindTableStart), with the
// entry point `entry` when it holds one. The model points into `buffer` and
// `entry`.
TableModel ReadTableModel(std::span<const uint8_t> buffer, const EntryPointBytes& entry = {});
// The model points into its bytes: a temporary would leave it dangling.
TableModel ReadTableModel(std::vector<uint8_t>&& buffer, const EntryPointBytes& entry = {}) = delete;

}  // namespace tarnwick
