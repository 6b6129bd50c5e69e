// The description's rows and variable parts, a file for each group of
// types in DSP0134's order; field_description.cpp finds a type's group.
#pragma once

#include <cstdint>
#include <span>

#include "smbios/description/field_row.h"

namespace tarnwick {

// The minimum length DSP0134 states for a type from version `since` on,
// where the Length row states one that is not the end of the version's
// last field.
struct StatedLength {
  uint8_t type;
  Since since;
  uint8_t minimum;
};

struct TypeGroup {
  uint8_t first;  // the group's types
  uint8_t last;
  std::span<const FieldRow> rows;       // by type, then as DSP0134 lists them
  std::span<const VariablePart> parts;  // by type, then in order
  std::span<const StatedLength> lengths = {};  // by type, then version
};

TypeGroup PlatformTypes();        // 0-4: types_platform.cpp
TypeGroup DeviceTypes();          // 5-15: types_devices.cpp
TypeGroup MemoryTypes();          // 16-22: types_memory.cpp
TypeGroup ManagementTypes();      // 23-46: types_management.cpp

}  // namespace tarnwick
