#include "cli/input/udev_memory.h"

#include <string_view>
#include <vector>

#include "platform/system.h"

namespace tarnwick::cli {

std::string UdevDmiIdFile(const std::string& folder) { return folder + "/+dmi:id"; }

UdevMemoryDevices ReadUdevMemoryDevices(const std::string& folder) {
  UdevMemoryDevices devices;
  std::vector<uint8_t> bytes;
  std::string reason;
  // A device's record is a few kilobytes; a megabyte is room for any machine's modules.
  if (folder.empty() || platform::ReadFileOnce(UdevDmiIdFile(folder), 1 << 20, &bytes, &reason) !=
                            platform::FileRead::kWhole) {
    return devices;
  }
  // One record per line: "E:KEY=value" for a property, other letters for the rest.
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    if (const std::string_view line = text.substr(0, end); line.starts_with("E:")) {
      AddUdevMemoryProperty(line.substr(2), &devices);
    }
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return devices;
}

}  // namespace tarnwick::cli
