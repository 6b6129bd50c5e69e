// The version a table's checks hold it to, and the finding that names a
// structure: what every check of smbios/check/ and smbios/check/table_check.cpp
// starts from.
#pragma once

#include <cstdint>

#include "smbios/check/table_check.h"
#include "smbios/model/table_model.h"

namespace tarnwick {

struct CheckedVersion {
  uint16_t version = 0;  // as 0xMMmm, as firmware means it (EffectiveVersion)
  bool stated = false;   // false: the table states none (a bare table)

  static CheckedVersion Of(const TableModel& model);

  // The version the rules for `type` come from: the stated one, else the
  // type's first (DSP0134 defines no structure before it).
  uint16_t ForType(uint8_t type) const;

  // A finding of `kind` on `structure`: its handle, type and place, and the
  // version its rules come from.
  Finding Stamp(const Structure& structure, FindingKind kind) const;
};

}  // namespace tarnwick
