// --decode: every field of every structure, or of those of the types asked,
// in words, as lines or as one JSON array. The records come decoded from
// smbios/; this file only lays them out.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "smbios/model/table_model.h"

namespace tarnwick::cli {

// Whether the field at `offset` of a structure is shown: a table built from
// another source than the firmware's holds fields that no one gave. Empty:
// every field the length holds.
using FieldShown = std::function<bool(const Structure&, uint32_t offset)>;

// A heading line per structure ("Handle 0x0001, type 1 (System
// Information), 27 bytes, at 0x001A"), then "  Name: text" per field, the
// bits set of a flags field and the items of a variable part on lines of
// their own, deeper.
std::string DecodeText(const TableModel& model, std::span<const uint8_t> types, const FieldShown& shown = {});

// One array of {"handle", "type", "name", "at", "length", "fields",
// "strings"}; each field {"name", "offset", "value", "text"}, with "bits"
// for a flags field and "bytes" for a size. "[]" for none.
std::string DecodeJson(const TableModel& model, std::span<const uint8_t> types, const FieldShown& shown = {});

}  // namespace tarnwick::cli
