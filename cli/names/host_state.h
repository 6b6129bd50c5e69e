// What the host knows about itself and shows the plug-in through its
// internal variables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::cli {

struct HostState {
  bool transient = true;  // a one-shot command, as a transient shell
  bool in_pipe = false;
  // Inside a batch file: its full name and the line being run (from 1).
  bool in_batch = false;
  std::string batch_name;
  uint32_t batch_line = 0;
};

HostState& Host();

// The host's variables: _transient, _pipe, _batch, _batchname and
// _batchline, then the environment. Names are compared without case.
bool LookupHostVariable(std::string_view name, std::string* value);

}  // namespace tarnwick::cli
