// Every export of the plug-in: four for its lifecycle and help, one per name.
#pragma once

#include "host/host_interface.h"
#include "host/names.h"

TARNWICK_EXPORT PluginInfo* TARNWICK_CALL GetPluginInfo();
TARNWICK_EXPORT int TARNWICK_CALL InitializePlugin();
TARNWICK_EXPORT int TARNWICK_CALL ShutdownPlugin(int ignored);
TARNWICK_EXPORT int TARNWICK_CALL Help(const char16_t* name);

#define TARNWICK_DECLARE_STRING(name, type, offset, help) TARNWICK_EXPORT int TARNWICK_CALL name(char16_t* buffer);
#define TARNWICK_DECLARE_VARIABLE(name, help) TARNWICK_EXPORT int TARNWICK_CALL name(char16_t* buffer);
#define TARNWICK_DECLARE_FUNCTION(name, help) TARNWICK_EXPORT int TARNWICK_CALL f_##name(char16_t* buffer);
TARNWICK_NAMES(TARNWICK_DECLARE_STRING, TARNWICK_DECLARE_VARIABLE, TARNWICK_DECLARE_FUNCTION)
#undef TARNWICK_DECLARE_STRING
#undef TARNWICK_DECLARE_VARIABLE
#undef TARNWICK_DECLARE_FUNCTION
