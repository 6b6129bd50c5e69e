#include "plugin/lifecycle.h"

#include <cstdlib>

#include "functions/random_generator.h"
#include "host/diagnostics.h"
#include "host/exports.h"
#include "host/result_text.h"
#include "host/export_table.h"
#include "plugin/firmware_service.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick {

uint32_t SeedFromTime(const platform::UtcTime& time) {
  return ((time.hour * 65536u + time.minute) * 1997u) ^
         ((time.second * 65536u + time.milliseconds) * 449u) ^ ((time.month * 65536u + time.day) * 17u);
}

namespace {

PluginInfo g_plugin_info;
uint8_t* g_owned_table = nullptr;  // the fetched table's buffer, when the plug-in holds one

void ReleaseOwnedTable() {
  ReleaseTable();
  std::free(g_owned_table);
  g_owned_table = nullptr;
}

const char16_t* LoadFailureMessage(int32_t code) {
  switch (code) {
    case kNoFirmwareService: return u"GetSystemFirmwareTable() not supported!\r\n";
    case kNoFirmwareTable: return u"No firmware table!\r\n";
    case kAllocationFailed: return u"Error allocating buffer for firmware table!\r\n";
    case kFetchFailed: return u"Error loading firmware table!\r\n";
    default: return u"Firmware tables don't appear valid!\r\n";
  }
}

// Fetches the table into one buffer of exactly the size the service reports
// and loads it; on failure nothing is held.
int32_t FetchAndLoad(const FirmwareSource& source) {
  if (source.fetch == nullptr) return kNoFirmwareService;
  const uint32_t size = source.fetch(platform::kRawSmbiosProvider, 0, nullptr, 0);
  if (size == 0) return kNoFirmwareTable;
  // No SMBIOS table comes near this bound, which every source of tarnwick
  // shares: a larger size is refused before a byte is allocated.
  if (size > kLargestTable) return kTableNotValid;
  g_owned_table = static_cast<uint8_t*>(source.allocate(size));
  if (g_owned_table == nullptr) return kAllocationFailed;
  // A table that grew between the size query and the fetch is reported with
  // its new size and was not copied: that is a failed fetch too.
  const uint32_t fetched = source.fetch(platform::kRawSmbiosProvider, 0, g_owned_table, size);
  if (fetched == 0 || fetched > size) return kFetchFailed;
  return LoadTable(g_owned_table, size);
}

// The banner shows only when the host is neither a transient shell nor in a
// pipe and the user has not set noloadmsg: the three expand to exactly "00".
bool HostWantsBanner() {
  char16_t expansion[1024] = {};
  CopyResult(expansion, u"%[_transient]%[_pipe]%[noloadmsg]");
  ExpandVariables(expansion, 1);
  return TextEquals(expansion, u"00");
}

int FinishLoad(int32_t code) {
  if (code != kLoaded) {
    ReleaseOwnedTable();
    PrintErrorPrefix();
    Qprintf(platform::StandardErrorHandle(), LoadFailureMessage(code));
    Qprintf(platform::StandardErrorHandle(), u"Plugin not loaded.\r\n");
    return -1;
  }
  if (HostWantsBanner()) {
    Printf(u"%s v%d.%d.%d loaded.\r\n", u"Tarnwick", TARNWICK_VERSION_MAJOR, TARNWICK_VERSION_MINOR,
           TARNWICK_VERSION_PATCH);
  }
  SeedRandom(SeedFromTime(platform::CurrentUtcTime()));
  return 0;
}

}  // namespace

int InitializeFrom(const FirmwareSource& source) {
  // A second load without ShutdownPlugin releases the table held first.
  ReleaseOwnedTable();
  return FinishLoad(FetchAndLoad(source));
}

int InitializeWithTable(const uint8_t* bytes, uint32_t size) {
  ReleaseOwnedTable();
  // An empty table reads as the service reporting none.
  return FinishLoad(size == 0 ? kNoFirmwareTable : LoadTable(bytes, size));
}

}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT PluginInfo* TARNWICK_CALL GetPluginInfo() {
  g_plugin_info = {u"Tarnwick",
                   u"The Tarnwick developers",
                   u"tarnwick@users.invalid",
                   u"https://tarnwick.invalid/",
                   u"Tarnwick plugin",
                   kImplementedNames.data(),
                   TARNWICK_VERSION_MAJOR,
                   TARNWICK_VERSION_MINOR,
                   TARNWICK_VERSION_PATCH};
  return &g_plugin_info;
}

TARNWICK_EXPORT int TARNWICK_CALL InitializePlugin() {
  return InitializeFrom({MachineFirmwareService(), &std::malloc});
}

TARNWICK_EXPORT int TARNWICK_CALL ShutdownPlugin(int /*ignored*/) {
  ReleaseOwnedTable();
  return 0;
}
