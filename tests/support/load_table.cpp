#include "platform/firmware_seam.h"
#include "plugin/exports.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {

int LoadTable(const Bytes& bytes) {
  static Bytes held;
  ShutdownPlugin(0);
  held = bytes;
  platform::InstallMemoryFirmware(held.data(), static_cast<uint32_t>(held.size()));
  return InitializePlugin();
}

}  // namespace tarnwick::testing
