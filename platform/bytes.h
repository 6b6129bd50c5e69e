// Bytes as every layer passes them: a table, a file, a dump.
#pragma once

#include <cstdint>
#include <vector>

namespace tarnwick {

using Bytes = std::vector<uint8_t>;

}  // namespace tarnwick
