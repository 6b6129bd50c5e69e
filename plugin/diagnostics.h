// Every diagnostic is the prefix, then one fixed message ending in "\r\n",
// both written to standard error through the host's Qprintf.
#pragma once

namespace tarnwick {

// "Tarnwick plugin: ", followed inside a batch file by its name and current
// line, "NAME [LINE]  ". Always returns 0.
int PrintErrorPrefix();

// The prefix, then `format` with one text argument (the stored argument).
void Diagnose(const char16_t* format, const char16_t* argument);

}  // namespace tarnwick
