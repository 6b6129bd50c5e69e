// Linux without the table: the memory devices that systemd's udev keeps,
// world-readable, as properties of the dmi/id device (smbios/model/udev_memory_table.h).
#pragma once

#include <string>

#include "smbios/model/udev_memory_table.h"

namespace tarnwick::cli {

// The file of the dmi/id device in udev's database folder `folder`.
std::string UdevDmiIdFile(const std::string& folder);

// The MEMORY_DEVICE_ properties of UdevDmiIdFile(folder); none where the
// file is missing or cannot be read (udev is not everywhere).
UdevMemoryDevices ReadUdevMemoryDevices(const std::string& folder);

}  // namespace tarnwick::cli
