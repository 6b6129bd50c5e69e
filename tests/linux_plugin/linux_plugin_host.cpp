// Loads Tarnwick.so the way a shell loads its plug-ins and checks what a
// machine without a readable firmware table sees: the description, the
// refusal to load with its reasons, help, and variables that write nothing.
#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "cli/names/host_printf.h"
#include "host/host_interface.h"

namespace {

std::u16string g_console;
std::u16string g_errors;

int Check(bool condition, const char* what) {
  if (!condition) std::fprintf(stderr, "FAILED: %s\n", what);
  return condition ? 0 : 1;
}

}  // namespace

// The plug-in resolves these against the program that loads it.
#define TARNWICK_HOST_SERVICE __attribute__((visibility("default")))

extern "C" TARNWICK_HOST_SERVICE int Printf(const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  g_console += tarnwick::cli::FormatHostPrintf(format, arguments);
  va_end(arguments);
  return 0;
}

extern "C" TARNWICK_HOST_SERVICE int Qprintf(void* /*handle*/, const char16_t* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  g_errors += tarnwick::cli::FormatHostPrintf(format, arguments);
  va_end(arguments);
  return 0;
}

extern "C" TARNWICK_HOST_SERVICE int ExpandVariables(char16_t* text, int /*flag*/) {
  text[0] = u'0';  // every variable reads "0": a prompt, not a batch file
  text[1] = 0;
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  auto info = reinterpret_cast<PluginInfo* (*)()>(dlsym(library, "GetPluginInfo"));
  auto initialize = reinterpret_cast<int (*)()>(dlsym(library, "InitializePlugin"));
  auto shutdown = reinterpret_cast<int (*)(int)>(dlsym(library, "ShutdownPlugin"));
  auto manufacturer = reinterpret_cast<int (*)(char16_t*)>(dlsym(library, "_smbmfg"));
  auto version = reinterpret_cast<int (*)(char16_t*)>(dlsym(library, "_smbver"));
  int failures = Check(info && initialize && shutdown && manufacturer && version, "exports found");
  if (failures != 0) return 1;

  failures += Check(std::u16string(info()->name) == u"Tarnwick", "GetPluginInfo name");
  // Every name the plug-in tells the host about is exported: "@name" as
  // "f_name".
  const std::u16string implements = info()->implements;
  int names = 0;
  for (size_t start = 0; start < implements.size(); ++names) {
    size_t end = implements.find(u',', start);
    if (end == std::u16string::npos) end = implements.size();
    std::string symbol(implements.begin() + static_cast<std::ptrdiff_t>(start),
                       implements.begin() + static_cast<std::ptrdiff_t>(end));
    if (symbol[0] == '@') symbol = "f_" + symbol.substr(1);
    failures += Check(dlsym(library, symbol.c_str()) != nullptr, symbol.c_str());
    start = end + 1;
  }
  failures += Check(names > 0, "names to implement");
  // These build machines expose no firmware table: the load is refused.
  const bool has_table = std::fopen("/sys/firmware/dmi/tables/DMI", "rb") != nullptr;
  const int loaded = initialize();
  if (has_table) {
    failures += Check(loaded == 0, "InitializePlugin loads the machine's table");
  } else {
    failures += Check(loaded == -1, "InitializePlugin refuses without a table");
    failures += Check(g_errors == u"Tarnwick plugin: No firmware table!\r\nPlugin not loaded.\r\n",
                      "load diagnostics");
    char16_t buffer[tarnwick::kMaxArgLen] = u"untouched";
    failures += Check(manufacturer(buffer) == 0 && std::u16string(buffer) == u"untouched",
                      "a string variable without a table leaves the buffer");
    failures += Check(version(buffer) == 0 && std::u16string(buffer) == u"N/A", "_smbver without a table");
  }
  failures += Check(shutdown(0) == 0, "ShutdownPlugin");
  dlclose(library);
  return failures == 0 ? 0 : 1;
}
