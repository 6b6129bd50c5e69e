// The one export of the stand-in for the host's library that the host's own library
// lacks: the stand-in host sets the variables ExpandVariables expands.
#pragma once

extern "C" void SetHostVariable(const char16_t* name, const char16_t* value);
