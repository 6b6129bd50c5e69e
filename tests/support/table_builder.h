// Builds SMBIOS tables from bytes for the tests, fuzz targets and benchmarks:
// structures with a type, handle, formatted bytes (from offset 4 on) and
// strings.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/bytes.h"

namespace tarnwick::testing {

using tarnwick::Bytes;

struct Structure {
  uint8_t type = 0;
  uint16_t handle = 0;
  Bytes formatted;                   // bytes at offsets 4, 5, ...
  std::vector<std::string> strings;  // the string-set, numbered from 1
  int length = -1;                   // length byte; -1: 4 + formatted.size()
};

// Formatted bytes of `size` zeros, then `at` (offset from the structure's
// start) set to the given values.
Bytes Formatted(size_t length, std::initializer_list<std::pair<uint32_t, uint8_t>> at = {});

// A structure told by its length byte and the bytes its formatted area sets
// (offset from the structure's start, value); the rest of the area is zero
// and offsets outside it are ignored, so a length can be cut down in place.
struct FieldStructure {
  uint8_t type = 0;
  uint16_t handle = 0;
  uint8_t length = 4;
  std::vector<std::pair<uint8_t, uint8_t>> fields;
  std::vector<std::string> strings;
};

// The structures end to end, each closed by its string-set's NUL pair.
Bytes BareTable(const std::vector<Structure>& structures);
Bytes FieldTable(const std::vector<FieldStructure>& structures);

// The firmware-table service's layout: 8-byte header, then the table.
Bytes RawTable(const Bytes& table, uint8_t major, uint8_t minor);

// Serves `bytes` as the machine's table and runs InitializePlugin; returns
// its result. The bytes are kept until the next call. (In the tests' support
// library, which stands in for the host.)
int LoadTable(const Bytes& bytes);

}  // namespace tarnwick::testing
