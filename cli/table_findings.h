// tarnwick --check: what in the loaded table makes answers wrong or empty,
// one line per finding, or a JSON array of them.
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

// "2 defects, 1 note": the line that ends the text output.
std::string CountsLine(const std::vector<Finding>& findings);

// [{"severity", "kind", "handle", "position", "type", "offset", "field",
// "entry_point", "value", "finding"}, ...]: numbers, null where a finding
// has none; the value a number, or the text or UUID found; one object per
// line.
std::string FindingsJson(const std::vector<Finding>& findings);

// Checks `model`, and the entry point it came with, and prints the findings
// to standard output, as lines (and their counts) or as JSON; true when
// there is a defect.
bool PrintFindings(bool json, const TableModel& model);

}  // namespace tarnwick::cli
