// Linux without the table: the files of /sys/class/dmi/id that the user
// can read (root all of them, others those the kernel makes world-readable),
// each checked against what the kernel writes, for the table built from them
// (smbios/model/kernel_dmi_table.h).
#pragma once

#include <string>
#include <vector>

#include "plugin/kernel_dmi_answers.h"

namespace tarnwick::cli {

// Reads the folder `path`. False, with the reason, when the folder is not
// there. A file that cannot be read, is no regular file, or holds what the
// kernel does not write (a NUL, a number or UUID out of form) is marked in
// `unread`, costing only the names it feeds, and named with why in
// `faults`; a file for root only that a user cannot open is as expected and
// only marked.
bool ReadDmiIdFolder(const std::string& path, KernelDmiTexts* texts, KernelDmiUnread* unread,
                     std::vector<std::string>* faults, std::string* error);

}  // namespace tarnwick::cli
