#include "plugin/lifecycle.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {

int LoadTable(const Bytes& bytes) {
  static Bytes held;
  held = bytes;
  return InitializeWithTable(held.data(), static_cast<uint32_t>(held.size()));
}

}  // namespace tarnwick::testing
