// Every field of a structure as a person reads it: the one description of
// fields (smbios/description/) read out over a structure's bytes. A record
// holds both what is stored and its reading, so that an output formats it
// without coming back down for words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "smbios/model/table_model.h"

namespace tarnwick {

struct DecodedField {
  enum class Stored : uint8_t {
    kNumber,    // `number`
    kString,    // a string number that selects `string`
    kNoString,  // string number 0 (none), or one past the set: `number`
    kBytes,     // a field wider than 8 bytes: `bytes`, as stored
  };
  const char* name = "";
  uint32_t offset = 0;  // from the structure's start
  uint8_t width = 0;
  Stored stored = Stored::kNumber;
  uint64_t number = 0;
  std::string_view string;  // firmware bytes, one byte a character
  std::string bytes;        // kBytes: the stored bytes as pairs of hexadecimal digits
  std::string text;         // the reading; firmware bytes where it quotes a string
  // Where rows read bit fields of one field (a probe's location and its
  // status), each one's reading, in the order of the rows; `text` joins them.
  std::vector<std::string> parts;
  std::vector<std::string> bits;  // a flags field: the names of the bits set
  bool has_size = false;          // a size: `size_bytes` holds it in bytes
  uint64_t size_bytes = 0;
  const char* part = nullptr;  // the variable part the field is an item's field of
  uint32_t item = 0;           // then the item, from 1
};

// Decodes the structures of one table: what a handle points at is looked up
// among them, once sorted, so that a table decodes in time near its size.
class StructureDecoder {
 public:
  explicit StructureDecoder(const TableModel& model);

  // The fields that `structure`'s length holds, in order of offset (an
  // item's fields together); a field past the length is absent.
  std::vector<DecodedField> Decode(const Structure& structure) const;

  // The type of the first structure that bears `handle`.
  std::optional<uint8_t> TypeOfHandle(uint16_t handle) const;

  // The table's version as it states it; 0.0 when unknown.
  SmbiosVersion Version() const { return version_; }

 private:
  SmbiosVersion version_;
  std::vector<std::pair<uint16_t, uint8_t>> handles_;  // (handle, type), by handle, the first of each
};

}  // namespace tarnwick
