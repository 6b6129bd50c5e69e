// The rules of DSP0134 that join structures, which no check of one
// structure alone can see: handles unique (6.1.2), every handle field
// pointing at a structure of a type it allows or holding its "none" value,
// a memory array's device count (7.17, 7.18), mapped ranges that neither
// overlap (7.20) nor leave their array's (7.21), and the structures that
// 2.3 and later require (6.2).
#pragma once

#include "smbios/check/checked_version.h"
#include "smbios/check/table_check.h"
#include "smbios/model/table_model.h"

namespace tarnwick {

// Checks `model` across its structures, in time and memory linear in its
// structures (a handle's lookup is one step of a table of every handle),
// and hands each finding to `sink`.
void CheckAcrossStructures(const TableModel& model, const CheckedVersion& version, FindingSink* sink);

}  // namespace tarnwick
