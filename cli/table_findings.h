// tarnwick --check: what in the loaded table makes answers wrong or empty,
// written as the checks find it: lines, identical findings on many
// structures in one, or a JSON array of one object per finding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "smbios/table_check.h"

namespace tarnwick::cli {

// "defect string-past-set  handle 0x000F  at 0x0123  type 3  offset 08h
// Asset Tag Number: string number 3, but the structure holds 2 strings";
// "table: ..." for the table as a whole, "entry point  ..." for its fields.
std::string FindingLine(const Finding& finding);

// "2 defects, 3 unfilled, 1 note": the line that ends the text output.
std::string CountsLine(const FindingCounts& counts);

// {"severity", "kind", "handle", "at", "type", "offset", "field",
// "entry_point", "value", "other", "finding"}: numbers, null where a
// finding has none; the value a number, or the text or UUID found; "other"
// the structure pointed at or overlapped ({"handle", "at", "type"}).
std::string FindingJson(const Finding& finding);

// Checks the loaded table, and the entry point in front of it when there is
// one, and writes the findings to standard output as they are made, as
// lines (and their counts) or as JSON; true when there is a defect.
bool PrintFindings(bool json, const EntryPointBytes& entry);

}  // namespace tarnwick::cli
