// One line per indexed structure, so that users find the type, offset and
// handle to pass to the structure functions.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "smbios/model/table_model.h"

namespace tarnwick::cli {

// "  3  type   3  length  22  handle 0x0003  System Enclosure or Chassis
// 1:"Maker"  2:"v2"" for every structure of `model`, in table order (past
// the index's cap too), or for those of `types`; the type's name as DSP0134
// gives it.
std::string StructureListing(const TableModel& model, std::span<const uint8_t> types);

// The same as a JSON array of objects with position, type, type_name,
// length, handle and the strings, "[]" for none.
std::string StructureListingJson(const TableModel& model, std::span<const uint8_t> types);

}  // namespace tarnwick::cli
