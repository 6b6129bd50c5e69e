// Every diagnostic is the prefix, then one fixed message ending in "\r\n",
// both written to standard error through the host's Qprintf.
#pragma once

#include "host/host_interface.h"

namespace tarnwick {

// "Tarnwick plugin: ", followed inside a batch file by its name and current
// line, "NAME [LINE]  ". Always returns 0.
int PrintErrorPrefix();

// The handle of standard error, fetched anew for every write.
void* StandardError();

// The prefix, then `format` with its arguments (%s a text, %d and %u 32-bit
// integers).
template <class... Arguments>
void Diagnose(const char16_t* format, Arguments... arguments) {
  PrintErrorPrefix();
  Qprintf(StandardError(), format, arguments...);
}

}  // namespace tarnwick
