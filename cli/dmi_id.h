// Linux without the table: the files of /sys/class/dmi/id that the user
// can read (root all of them, others those the kernel makes world-readable),
// turned back into the structures they come from, so that the plug-in
// answers from them as it does from the table, for the names whose answer
// the files give exactly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host_interface.h"
#include "smbios/kernel_dmi_table.h"

namespace tarnwick::cli {

// Each file's text without its final line feed, in kKernelDmiFields' order;
// none where the file is absent or, for `unread`, cannot be read.
using DmiIdTexts = KernelDmiTexts;
using DmiIdUnread = std::array<bool, kKernelDmiFields.size()>;

// Reads the folder `path`. False, with the reason, when the folder is not
// there. A file that cannot be read, is no regular file, or holds what the
// kernel does not write (a NUL, a number or UUID out of form) is marked in
// `unread`, costing only the names it feeds, and named with why in
// `faults`; a file for root only that a user cannot open is as expected and
// only marked.
bool ReadDmiIdFolder(const std::string& path, DmiIdTexts* texts, DmiIdUnread* unread, std::vector<std::string>* faults,
                     std::string* error);

// True when the export `entry`, asked over TableFromKernelDmiTexts(texts), answers as it
// would over the machine's table: the files it reads were read.
bool AnswersExactly(const DmiIdTexts& texts, const DmiIdUnread& unread, NameExport entry);

}  // namespace tarnwick::cli
