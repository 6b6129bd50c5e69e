// One line per structure, so that users find the type, offset and handle to
// pass to the structure functions.
#pragma once

#include <string>

namespace tarnwick::cli {

// "  3  type   3  length  22  handle 0x0003  1:"Maker" 2:"v2"" for every
// structure of the loaded table, in table order, past the index's cap too.
std::string StructureListing();

}  // namespace tarnwick::cli
