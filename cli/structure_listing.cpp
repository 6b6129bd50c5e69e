#include "cli/structure_listing.h"

#include <cstdio>

#include "cli/text_quoting.h"
#include "smbios/table_model.h"

namespace tarnwick::cli {

std::string StructureListing() {
  std::string out;
  const TableModel model = LoadedTableModel();
  for (size_t i = 0; i < model.structures.size(); ++i) {
    const Structure& structure = model.structures[i];
    char head[64];
    std::snprintf(head, sizeof head, "%4u  type %3u  length %3u  handle 0x%04X", static_cast<unsigned>(i),
                  structure.type, structure.length, static_cast<unsigned>(structure.handle));
    out += head;
    for (size_t number = 1; number <= structure.strings.size(); ++number) {
      out += "  " + std::to_string(number) + ':' + ListingString(structure.strings[number - 1]);
    }
    out += '\n';
  }
  return out;
}

}  // namespace tarnwick::cli
