#include "cli/structure_listing.h"

#include <cstdio>

#include "cli/text_quoting.h"
#include "smbios/firmware_table.h"

namespace tarnwick::cli {
namespace {

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

}  // namespace

std::u16string StructureListing() {
  std::u16string out;
  for (uint32_t i = 0; i < g_structure_index.count; ++i) {
    const uint8_t* structure = g_structure_index.entries[i];
    char head[64];
    std::snprintf(head, sizeof head, "%4u  type %3u  length %3u  handle 0x%04x", static_cast<unsigned>(i), structure[0],
                  structure[1], static_cast<unsigned>(structure[2] | structure[3] << 8));
    out += Ascii(head);
    // Indexed structures passed the validity gate: their string-set ends in
    // a NUL pair inside the table, so this walk stops there.
    const uint8_t* at = structure + structure[1];
    for (unsigned number = 1; *at != 0; ++number) {
      std::u16string text;
      for (; *at != 0; ++at) text += static_cast<char16_t>(*at);  // one byte, one code unit
      ++at;
      out += u"  " + DecimalText(number) + u':' + ListingString(text);
    }
    out += u'\n';
  }
  return out;
}

}  // namespace tarnwick::cli
