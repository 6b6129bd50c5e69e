#include "cli/structure_listing.h"

#include <cstdio>

#include "cli/text_quoting.h"
#include "smbios/firmware_table.h"

namespace tarnwick::cli {

std::string StructureListing() {
  std::string out;
  for (uint32_t i = 0; i < g_structure_index.count; ++i) {
    const uint8_t* structure = g_structure_index.entries[i];
    char head[64];
    std::snprintf(head, sizeof head, "%4u  type %3u  length %3u  handle 0x%04X", static_cast<unsigned>(i), structure[0],
                  structure[1], static_cast<unsigned>(structure[2] | structure[3] << 8));
    out += head;
    // Indexed structures passed the validity gate: their string-set ends in
    // a NUL pair inside the table, so this walk stops there.
    const char* at = reinterpret_cast<const char*>(structure + structure[1]);
    for (unsigned number = 1; *at != 0; ++number) {
      const std::string_view text(at);
      out += "  " + std::to_string(number) + ':' + ListingString(text);
      at += text.size() + 1;
    }
    out += '\n';
  }
  return out;
}

}  // namespace tarnwick::cli
