// The boundary between the shell (the host) and the plug-in.
//
// Text crossing it is UTF-16 on every platform; char16_t keeps that true on
// Linux, where wchar_t is 32 bits. On Windows char16_t and wchar_t have the
// same size and layout, so the platform layer converts by reinterpretation.
#pragma once

#include <cstdint>

namespace tarnwick {

// The host's result buffer: argument text in, result text out, NUL included.
inline constexpr uint32_t kMaxArgLen = 8192;

}  // namespace tarnwick

#if defined(_WIN32)
#define TARNWICK_EXPORT extern "C"
#if defined(_WIN64)
#define TARNWICK_CALL
#else
#define TARNWICK_CALL __stdcall
#endif
#else
#define TARNWICK_EXPORT extern "C" __attribute__((visibility("default")))
#define TARNWICK_CALL
#endif

// Services the host offers. On Windows they are imported from the host's
// library; on Linux the program that loads the plug-in defines them.
// Formats use %s for a UTF-16 text, %d and %u for 32-bit integers.
extern "C" {
int Printf(const char16_t* format, ...);
int Qprintf(void* handle, const char16_t* format, ...);
int ExpandVariables(char16_t* text, int flag);
}

// The record GetPluginInfo returns: nine fields of one machine word each.
struct PluginInfo {
  const char16_t* name;
  const char16_t* author;
  const char16_t* email;
  const char16_t* web;
  const char16_t* description;
  const char16_t* implements;
  intptr_t major;
  intptr_t minor;
  intptr_t build;
};

// A variable takes the result buffer; a function takes the buffer holding
// its argument text. Both return 0, or -1 for a null buffer or a diagnostic.
using NameExport = int(TARNWICK_CALL*)(char16_t* buffer);
