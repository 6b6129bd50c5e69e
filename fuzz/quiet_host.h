// The host's three services for the fuzz targets: nothing is printed, the
// last text written to standard error is kept so that a target can check
// what a call reported.
#pragma once

#include <string>

namespace tarnwick::fuzzing {

struct HostRecord {
  std::u16string last_error;  // the last Qprintf text to standard error
  int error_writes = 0;       // Qprintf calls since the last Forget
  int console_writes = 0;     // Printf calls since the last Forget
};

HostRecord& Record();
void Forget();

}  // namespace tarnwick::fuzzing
