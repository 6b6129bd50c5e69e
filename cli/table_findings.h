// tarnwick --check: what in the loaded table makes answers wrong or empty,
// one line per finding, or a JSON array of them.
#pragma once

#include <string>
#include <vector>

#include "cli/system.h"
#include "smbios/table_check.h"

namespace tarnwick::cli {

// "handle 0x000F  type 3  offset 08h  Asset Tag Number: string number 3, but
// the structure holds 2 strings", and "table: ..." for the table as a whole.
std::string FindingLine(const Finding& finding);

// [{"handle", "type", "offset", "field", "finding", "text"}, ...]: numbers,
// null where a finding has none; one object per line.
std::string FindingsJson(const std::vector<Finding>& findings);

// Checks the loaded table, and the entry point in front of it when there is
// one, and prints the findings to standard output, as lines or as JSON;
// true when there are any.
bool PrintFindings(bool json, const EntryPointBytes& entry);

// The kernel's smbios_entry_point file under `sysfs` (Linux), or nothing.
Bytes KernelEntryPoint(const std::string& sysfs);

}  // namespace tarnwick::cli
