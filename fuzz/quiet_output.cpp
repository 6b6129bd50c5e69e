// tarnwick's output for the fuzz targets over its own code: nothing is
// written; the longest message is kept so that a target can bound it.
#include "cli/output/output.h"
#include "fuzz/quiet_output.h"

namespace tarnwick::fuzzing {

size_t& LongestMessage() {
  static size_t longest = 0;
  return longest;
}

}  // namespace tarnwick::fuzzing

namespace tarnwick::cli {

void Out(std::string_view /*text*/) {}
void Err(std::string_view text) { fuzzing::LongestMessage() = std::max(fuzzing::LongestMessage(), text.size()); }
void WriteToHandle(void* /*handle*/, std::string_view text) { Err(text); }
void FlushOutput() {}

}  // namespace tarnwick::cli
