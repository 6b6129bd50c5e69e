// tarnwick --prometheus: the machine's identity, its memory modules and
// processors, and what --check finds in its table, in the Prometheus text
// exposition format, for the textfile collectors of node_exporter and
// windows_exporter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "smbios/check/table_check.h"
#include "smbios/model/table_model.h"

namespace tarnwick::cli {

// A table string as a label value, in the form node_exporter gives the
// kernel's copy of it, so that the two join: empty when it is a firmware
// placeholder (smbios/reading/placeholders.h); else its bytes as UTF-8 (DSP0134
// leaves the encoding open and the kernel passes the bytes on as they are),
// each run of bytes that are no part of a valid UTF-8 sequence one U+FFFD
// (a Latin-1 E9h too); white space trimmed from both ends; backslash,
// double quote and line feed escaped.
std::string LabelValue(std::string_view bytes);

// The exposition of `model`: tarnwick_dmi_info with the chassis type in
// words, the memory modules, the processors, and tarnwick_check_findings
// from `findings`, counted by kind, unless none is given (a table built
// from the DMI files, which is not the machine's to check).
std::string PrometheusText(const TableModel& model, const FindingCounts* findings);

}  // namespace tarnwick::cli
