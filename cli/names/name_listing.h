// Which names are there: every name of the one list with what its help
// says first, as `tarnwick --names` prints it. The build reads both from
// the list (cmake/names.cmake), for the manual page and the READMEs too.
#pragma once

#include <string>

#include "host/export_table.h"

namespace tarnwick::cli {

// The name as it is called, with a function's arguments from the help's
// first line, the optional ones in brackets, and the flags that the numeric
// field functions read ("@smbbyte[type,offset[,handle[,flags]]]").
std::string CallForm(const ExportEntry& row);

// The help's description up to the end of its first sentence or the colon
// before a list, its lines joined, without a variable's closing ", or N/A
// if ..." and without the closing "." or ":".
std::string HelpSummary(const ExportEntry& row);

// One line per name: the call form, blanks to the longest and two more,
// the summary.
std::string NameListing();

}  // namespace tarnwick::cli
