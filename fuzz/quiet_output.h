// The longest text tarnwick's code wrote to standard error since the last
// reset (fuzz/quiet_output.cpp stands in for cli/output/output.cpp).
#pragma once

#include <algorithm>
#include <cstddef>

namespace tarnwick::fuzzing {

size_t& LongestMessage();

}  // namespace tarnwick::fuzzing
