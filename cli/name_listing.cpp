#include "cli/name_listing.h"

#include <algorithm>

#include "cli/utf8_utf16.h"

namespace tarnwick::cli {
namespace {

std::string TrimEnd(std::string text, std::string_view ending) {
  if (text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0) {
    text.resize(text.size() - ending.size());
  }
  return text;
}

std::string TrimBlanks(std::string text) { return text.erase(text.find_last_not_of(' ') + 1); }

}  // namespace

std::string CallForm(const ExportEntry& row) {
  const std::string help = EncodeUtf8(row.help);
  const std::string first = TrimBlanks(help.substr(0, help.find("\r\n")));
  const size_t open = first.find('[');
  return EncodeUtf8(row.name) + (open == std::string::npos ? "" : first.substr(open));
}

std::string HelpSummary(const ExportEntry& row) {
  const std::string help = EncodeUtf8(row.help);
  const size_t start = help.find("\r\n\n") + 3;
  const std::string line = TrimBlanks(help.substr(start, help.find('\n', start) - start));
  return TrimEnd(TrimEnd(TrimEnd(line, ", or"), ":"), ".");
}

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
