// Every export of the plug-in: four for its lifecycle and help, one per name.
#pragma once

#include "plugin/host_interface.h"
#include "plugin/name_list.h"

TARNWICK_EXPORT PluginInfo* TARNWICK_CALL GetPluginInfo();
TARNWICK_EXPORT int TARNWICK_CALL InitializePlugin();
TARNWICK_EXPORT int TARNWICK_CALL ShutdownPlugin(int ignored);
TARNWICK_EXPORT int TARNWICK_CALL Help(const char16_t* name);

#define TARNWICK_DECLARE_VARIABLE(name) TARNWICK_EXPORT int TARNWICK_CALL name(char16_t* buffer);
#define TARNWICK_DECLARE_FUNCTION(name) TARNWICK_EXPORT int TARNWICK_CALL f_##name(char16_t* buffer);
TARNWICK_VARIABLES(TARNWICK_DECLARE_VARIABLE)
TARNWICK_FUNCTIONS(TARNWICK_DECLARE_FUNCTION)
#undef TARNWICK_DECLARE_VARIABLE
#undef TARNWICK_DECLARE_FUNCTION
