#include "cli/names/host_state.h"

namespace tarnwick::cli {

HostState& Host() {
  static HostState state;
  return state;
}

}  // namespace tarnwick::cli
