// tarnwick --check: what in the loaded table makes answers wrong or empty,
// written as the checks find it: lines, identical findings on many
// structures in one, or a JSON array of one object per finding.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <string>
#include <vector>

#include "smbios/check/table_check.h"
#include "smbios/model/table_model.h"

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

using TextSink = std::function<void(std::string_view)>;

// Checks `model`, and the entry point it came with, and hands the
// findings' text to `write` as they are made: lines (identical findings on
// consecutive structures of a type in one) and their counts, or a JSON
// array; what was found, counted.
FindingCounts WriteFindings(bool json, const TableModel& model, const TextSink& write);

// WriteFindings to standard output; true when there is a defect.
bool PrintFindings(bool json, const TableModel& model);

}  // namespace tarnwick::cli
