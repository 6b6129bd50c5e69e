// The host's three services for the fuzz targets: nothing is printed, the
// last text written to standard error is kept so that a target can check
// what a call reported.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::fuzzing {

struct HostRecord {
  std::u16string last_error;  // the last Qprintf text to standard error
  int error_writes = 0;       // Qprintf calls since the last Forget
  int console_writes = 0;     // Printf calls since the last Forget
};

HostRecord& Record();
void Forget();

// The host's result buffer, allocated at exactly kMaxArgLen units so that
// ASan sees every unit past it. Between calls it holds no NUL: a result that
// is not terminated cannot borrow the terminator of an earlier one.
inline constexpr char16_t kJunk = 0xA5A5;
char16_t* HostBuffer();

}  // namespace tarnwick::fuzzing
