// Installed memory, populated processors, cores and threads: the totals
// tallied when the table loaded (smbios/reading/inventory.h).
#include "host/exports.h"
#include "host/result_text.h"
#include "smbios/reading/inventory.h"

namespace tarnwick {
namespace {

// "N/A" unless the total is known, then its value.
int WriteTotal(char16_t* buffer, const Total& total) {
  if (buffer == nullptr) return -1;
  if (total.known) {
    WriteDecimal(buffer, total.value);
  } else {
    WriteNotAvailable(buffer);
  }
  return 0;
}

}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL _smbmemory(char16_t* buffer) {
  const Total kilobytes = g_inventory.memory_kilobytes;
  return WriteTotal(buffer, {kilobytes.value / 1024, kilobytes.known});
}

TARNWICK_EXPORT int TARNWICK_CALL _smbcpucount(char16_t* buffer) {
  return WriteTotal(buffer, g_inventory.populated_processors);
}

TARNWICK_EXPORT int TARNWICK_CALL _smbcores(char16_t* buffer) { return WriteTotal(buffer, g_inventory.cores); }

TARNWICK_EXPORT int TARNWICK_CALL _smbthreads(char16_t* buffer) { return WriteTotal(buffer, g_inventory.threads); }
