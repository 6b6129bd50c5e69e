// Built only by the layering test, which expects the second include to fail.
#include "smbios/firmware_table.h"
#include "plugin/lifecycle.h"
