#include "cli/name_listing.h"

#include <algorithm>

#include "cli/utf8_utf16.h"

namespace tarnwick::cli {
namespace {

std::string TrimBlanks(std::string text) { return text.erase(text.find_last_not_of(' ') + 1); }

// The numeric field functions read a fourth argument, flags, whose bit 0
// asks for hexadecimal; their help texts leave it out.
bool ReadsFlags(std::u16string_view name) {
  for (std::u16string_view reader : {u"@smbbyte", u"@smbword", u"@smbdword", u"@smbqword"}) {
    if (name == reader) return true;
  }
  return false;
}

// Whether the help's line for `argument` ("  handle\t0 - 0xffff (optional)") says it may be left out.
bool IsOptional(const std::string& help, const std::string& argument) {
  const size_t line = help.find("\n  " + argument + "\t");
  return line != std::string::npos && help.substr(line, help.find('\n', line + 1) - line).find("(optional)") !=
                                          std::string::npos;
}

}  // namespace

std::string CallForm(const ExportEntry& row) {
  const std::string help = EncodeUtf8(row.help);
  const std::string first = TrimBlanks(help.substr(0, help.find("\r\n")));
  const size_t open = first.find('[');
  std::string call = EncodeUtf8(row.name);
  if (open == std::string::npos) return call;
  std::string arguments = first.substr(open + 1, first.rfind(']') - open - 1);
  if (ReadsFlags(row.name)) arguments += ",flags";
  call += '[';
  std::string closings = "]";
  size_t at = 0;
  for (bool first_argument = true; at <= arguments.size(); first_argument = false) {
    const size_t comma = std::min(arguments.find(',', at), arguments.size());
    const std::string argument = arguments.substr(at, comma - at);
    if (!first_argument && (IsOptional(help, argument) || argument == "flags")) {
      call += '[';
      closings += ']';
    }
    call += (first_argument ? "" : ",") + argument;
    at = comma + 1;
  }
  return call + closings;
}

std::string HelpSummary(const ExportEntry& row) {
  const std::string help = EncodeUtf8(row.help);
  std::string summary;
  for (size_t at = help.find("\r\n\n") + 3; at < help.size();) {
    const size_t end = std::min(help.find('\n', at), help.size());
    const std::string line = TrimBlanks(help.substr(at, end - at));
    if (line.empty()) break;  // the paragraph ends
    summary += (summary.empty() ? "" : " ") + line;
    if (line.back() == '.' || line.back() == ':') break;  // a sentence ends, or a list follows
    at = end + 1;
  }
  // What a variable answers without a value is the same for all, ", or N/A if ...": left out.
  if (const size_t otherwise = summary.find(" or N/A if "); otherwise != std::string::npos && otherwise > 0) {
    summary.resize(otherwise - 1);
  }
  if (!summary.empty() && (summary.back() == '.' || summary.back() == ':')) summary.pop_back();
  return summary;
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
