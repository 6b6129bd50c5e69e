#include "fuzz/quiet_host.h"

#include <algorithm>
#include <cstdarg>
#include <memory>

#include "cli/names/host_printf.h"
#include "host/host_interface.h"

namespace tarnwick::fuzzing {

HostRecord& Record() {
  static HostRecord record;
  return record;
}

void Forget() {
  Record().last_error.clear();
  Record().error_writes = 0;
  Record().console_writes = 0;
}

char16_t* HostBuffer() {
  static std::unique_ptr<char16_t[]> buffer = [] {
    std::unique_ptr<char16_t[]> junk(new char16_t[kMaxArgLen]);
    std::fill_n(junk.get(), kMaxArgLen, kJunk);
    return junk;
  }();
  return buffer.get();
}

}  // namespace tarnwick::fuzzing

using tarnwick::fuzzing::Record;

extern "C" int Printf(const char16_t* /*format*/, ...) {
  ++Record().console_writes;
  return 0;
}

// Every handle counts as standard error: the plug-in writes nowhere else.
extern "C" int Qprintf(void* /*handle*/, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Record().last_error = tarnwick::cli::FormatHostPrintf(format, arguments);
  va_end(arguments);
  ++Record().error_writes;
  return 0;
}

// Every variable the plug-in asks for reads "0": not transient, not in a
// pipe, no batch file. The banner query then reads "0", not "00", so the
// banner stays off.
extern "C" int ExpandVariables(char16_t* text, int /*flag*/) {
  text[0] = u'0';
  text[1] = 0;
  return 0;
}
