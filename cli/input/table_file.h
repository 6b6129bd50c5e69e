// Reading the files that tarnwick is given, with a bound: whatever a user
// or another process hands over (a device, a FIFO, a huge file), tarnwick
// reads no more than a table or a batch file can be and says why it stops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick::cli {

// The table of the dump, firmware-service or bare file at `path` ("-":
// standard input) in the firmware service's layout (smbios/model/dump_layout.h),
// read once up to kLargestTable (smbios/reading/firmware_table.h). False, with a message naming the file,
// when it cannot be read, is too large, changes while read, or is no table
// that ServiceLayoutFromFile takes.
// With `file`, the file's bytes as read are kept there too.
bool ReadTableFile(const std::string& path, Bytes* service, std::string* error, Bytes* file = nullptr);

// The bytes of a batch file, up to kLargestTable; false as above.
bool ReadBatchFile(const std::string& path, Bytes* bytes, std::string* error);

}  // namespace tarnwick::cli
