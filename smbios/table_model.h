// The loaded table as one read-only model: every structure in walk order
// (past the index's cap too), with its place, header fields and strings split
// once; the version and the header the buffer carries. Built on demand from
// the bytes by a pure function, so the plug-in keeps its one allocation and
// every reader above (listing, checks, dumps, exports of the command line)
// reads the same structures the loader walks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "smbios/entry_point.h"
#include "smbios/firmware_table.h"

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
  // The byte at `offset` when the formatted area holds it.
  std::optional<uint8_t> Byte(uint32_t offset) const;
  // String `number` (1-based) or nothing when 0 or past the set.
  std::optional<std::string_view> String(uint32_t number) const;
};

struct TableModel {
  std::span<const uint8_t> table;       // the structure table, header excluded
  std::optional<ServiceHeader> header;  // when the buffer carries one the loader takes
  std::optional<SmbiosVersion> version; // the header's; none for a bare table
  std::optional<EntryPoint> entry_point;  // as read, where the table came with one (a dump, the kernel's file); set by its reader
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

// The model of `buffer` as LoadTable reads it: a service header in front,
// when it fits, else a bare table. The model points into `buffer`.
TableModel ReadTableModel(const uint8_t* buffer, uint32_t size);

// The model of the table the plug-in holds now (empty when none is held).
TableModel LoadedTableModel();

// The same without its structures (`table`, `header` and `version` only):
// cheap, for a reader that needs the version or the place of one structure.
TableModel LoadedTableHead();

}  // namespace tarnwick
