// Which names the files of /sys/class/dmi/id and the memory devices udev
// gives answer exactly, when the table built from them
// (smbios/model/kernel_dmi_table.h, smbios/model/udev_memory_table.h) stands in for the
// machine's: a name answers as over the real table only when every file or
// property it reads was read, and nothing beyond them decides its answer.
#pragma once

#include <array>

#include "host/export_table.h"
#include "smbios/model/kernel_dmi_table.h"
#include "smbios/model/udev_memory_table.h"

namespace tarnwick {

// The files, in kKernelDmiFields' order, that could not be read or are not
// as the kernel writes them.
using KernelDmiUnread = std::array<bool, kKernelDmiFields.size()>;

// True when calling `row` with `argument` over TableFromKernelDmiTexts(texts,
// UdevMemoryDeviceStructures(memory)) answers as over the machine's table.
// @smbreal is decided by the variable it names; one that names none is left
// to @smbreal to refuse (true). Of the memory devices: _smbmemory and
// @smbcount[17] when every device's place is known, and the first device's
// fields that udev holds exactly (no handle: udev gives none).
bool KernelDmiAnswersExactly(const KernelDmiTexts& texts, const KernelDmiUnread& unread,
                             const UdevMemoryDevices& memory, const ExportEntry& row, const char16_t* argument);

}  // namespace tarnwick
