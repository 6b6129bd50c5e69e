#include "cli/names/name_listing.h"

#include <algorithm>
#include <iterator>

namespace tarnwick::cli {
namespace {

struct ListingRow {
  const char* call;
  const char* summary;
};

// The build reads the rule from each name's help (cmake/names.cmake).
constexpr ListingRow kListingRows[] = {
#include "name_listing_rows.inc"
};
static_assert(std::size(kListingRows) == std::size(kExportTable), "a listing row for every name of the list");

const ListingRow& RowOf(const ExportEntry& row) { return kListingRows[&row - std::begin(kExportTable)]; }

}  // namespace

std::string CallForm(const ExportEntry& row) { return RowOf(row).call; }

std::string HelpSummary(const ExportEntry& row) { return RowOf(row).summary; }

std::string NameListing() {
  size_t width = 0;
  for (const ExportEntry& row : kExportTable) width = std::max(width, CallForm(row).size());
  std::string listing;
  for (const ExportEntry& row : kExportTable) {
    const std::string call = CallForm(row);
    listing += call + std::string(width + 2 - call.size(), ' ') + HelpSummary(row) + "\n";
  }
  return listing;
}

}  // namespace tarnwick::cli
