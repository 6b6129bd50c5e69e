// Which names the files of /sys/class/dmi/id answer exactly, when the table
// built from them (smbios/kernel_dmi_table.h) stands in for the machine's:
// a name answers as over the real table only when every file it reads was
// read, and no structure field beyond the files decides its answer.
#pragma once

#include <array>

#include "host/export_table.h"
#include "smbios/kernel_dmi_table.h"

namespace tarnwick {

// The files, in kKernelDmiFields' order, that could not be read or are not
// as the kernel writes them.
using KernelDmiUnread = std::array<bool, kKernelDmiFields.size()>;

// True when calling `row` with `argument` over TableFromKernelDmiTexts(texts)
// answers as over the machine's table. @smbreal is decided by the variable
// it names; one that names none is left to @smbreal to refuse (true).
bool KernelDmiAnswersExactly(const KernelDmiTexts& texts, const KernelDmiUnread& unread, const ExportEntry& row,
                             const char16_t* argument);

}  // namespace tarnwick
