#include "host/diagnostics.h"

#include "host/host_interface.h"
#include "host/result_text.h"
#include "platform/platform.h"

namespace tarnwick {

int PrintErrorPrefix() {
  Qprintf(StandardError(), u"%s plugin: ", u"Tarnwick");

  char16_t location[kMaxArgLen] = {};
  CopyResult(location, u"%_batch");
  ExpandVariables(location, 1);
  if (location[0] != u'0') {  // a batch file is running
    CopyResult(location, u"%_batchname [%_batchline]  ");
    ExpandVariables(location, 1);
    // The expansion is the file's name: written as text, never as a format.
    Qprintf(StandardError(), u"%s", location);
  }
  return 0;
}

void* StandardError() { return platform::StandardErrorHandle(); }

}  // namespace tarnwick
