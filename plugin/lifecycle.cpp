#include "plugin/lifecycle.h"

#include "functions/random_generator.h"
#include "plugin/exports.h"
#include "plugin/export_table.h"
#include "plugin/result_text.h"
#include "smbios/firmware_table.h"

namespace tarnwick {

uint32_t SeedFromTime(const platform::UtcTime& time) {
  return ((time.hour * 65536u + time.minute) * 1997u) ^
         ((time.second * 65536u + time.milliseconds) * 449u) ^ ((time.month * 65536u + time.day) * 17u);
}

namespace {

PluginInfo g_plugin_info;

// The banner shows only when the host is neither a transient shell nor in a
// pipe and the user has not set noloadmsg: the three expand to exactly "00".
bool HostWantsBanner() {
  char16_t expansion[1024] = {};
  const char16_t* query = u"%[_transient]%[_pipe]%[noloadmsg]";
  for (int i = 0; query[i] != 0; ++i) expansion[i] = query[i];
  ExpandVariables(expansion, 1);
  return TextEquals(expansion, u"00");
}

}  // namespace
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
  if (LoadFirmwareTable() != kLoaded) {
    Qprintf(platform::StandardErrorHandle(), u"Plugin not loaded.\r\n");
    return -1;
  }
  if (HostWantsBanner()) Printf(u"%s v%d.%d.%d loaded.\r\n", u"Tarnwick", TARNWICK_VERSION_MAJOR, TARNWICK_VERSION_MINOR,
                                 TARNWICK_VERSION_PATCH);
  SeedRandom(SeedFromTime(platform::CurrentUtcTime()));
  return 0;
}

TARNWICK_EXPORT int TARNWICK_CALL ShutdownPlugin(int /*ignored*/) {
  ReleaseFirmwareTable();
  return 0;
}
