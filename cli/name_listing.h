// Which names are there: every name of the one list with what its help
// says first, as `tarnwick --names` prints it. The manual page and
// README.txt carry the same lines, made from the list by the build
// (cmake/names.cmake) with the same rule.
#pragma once

#include <string>

#include "plugin/export_table.h"

namespace tarnwick::cli {

// The name as it is called, with a function's arguments from the help's
// first line ("@smbbyte[type,offset,handle]").
std::string CallForm(const ExportEntry& row);

// The first line of the help's description up to where it runs on into
// the next: without trailing blanks, a closing ", or", ":" or ".".
std::string HelpSummary(const ExportEntry& row);

// One line per name: the call form, blanks to the longest and two more,
// the summary.
std::string NameListing();

}  // namespace tarnwick::cli
