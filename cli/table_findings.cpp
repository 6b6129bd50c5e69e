#include "cli/table_findings.h"

#include <nlohmann/json.hpp>

#include "cli/output.h"
#include "cli/text_quoting.h"
#include "cli/utf8_utf16.h"
#include "smbios/entry_point.h"
#include "smbios/firmware_table.h"
#include "smbios/uuid_text.h"

namespace tarnwick::cli {
namespace {

// The pieces end to end. (Appending spares g++ 12 its false -Wrestrict
// on a literal plus a temporary string.)
template <class... Pieces>
std::string Join(const Pieces&... pieces) {
  std::string out;
  ((out += pieces), ...);
  return out;
}

// `value` in `digits` upper-case hexadecimal digits, as DSP0134 writes offsets.
std::string Hex(uint64_t value, int digits) {
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = "0123456789ABCDEF"[value & 0xF];
  return text;
}

std::string VersionText() {
  return Join("SMBIOS ", std::to_string(g_smbios_version.major), ".", std::to_string(g_smbios_version.minor));
}

// The UUID of the System Information structure that the finding names.
std::string UuidText(const Finding& finding) {
  const uint8_t* system = g_structure_index.entries[0] + finding.position;
  char16_t text[kUuidTextLength + 1];
  WriteUuid(text, system + finding.offset, g_smbios_version);
  return EncodeUtf8(text);
}

// What was found, in words.
std::string Description(const Finding& f) {
  const std::string found = std::to_string(f.found);
  const std::string expected = std::to_string(f.expected);
  switch (f.kind) {
    case FindingKind::kLengthBelowHeader:
      return Join("length ", found, " at table offset 0x", Hex(f.position, 4),
                  ", below the 4 bytes of a header: the structures from here on are lost");
    case FindingKind::kPastTableEnd:
      return Join("the structure at table offset 0x", Hex(f.position, 4),
                  " runs past the end of the table: it and any after it are lost");
    case FindingKind::kNoEndOfTable:
      return "no end-of-table structure (type 127)";
    case FindingKind::kTableLengthMismatch:
      return Join(expected, " bytes announced, the structures use ", found);
    case FindingKind::kShortForVersion:
      return Join("length ", Hex(f.found, 2), "h, shorter than the ", Hex(f.expected, 2), "h that ", VersionText(),
                  " requires: the fields from ", Hex(f.found, 2), "h on are missing");
    case FindingKind::kStringBeyondSet:
      return Join("string number ", found, ", but the structure holds ", expected,
                  f.expected == 1 ? " string" : " strings");
    case FindingKind::kPlaceholderText:
      return "placeholder text";
    case FindingKind::kPlaceholderUuid:
      return Join("placeholder UUID ", UuidText(f));
    case FindingKind::kUndefinedChassisType:
      return Join("chassis type ", Hex(f.found, 2), "h, which DSP0134 does not define");
    case FindingKind::kEntryPointChecksum:
      return Join("the bytes it covers sum to ", Hex(f.found, 2), "h, not 0");
    case FindingKind::kEntryPointLength:
      return Join("length ", Hex(f.found, 2), "h, not the ", Hex(f.expected, 2), "h of this entry point");
    case FindingKind::kAddressPastFile:
      return Join("0x", Hex(f.found, 8), ", past the end of the file (", expected, " bytes)");
    case FindingKind::kLengthPastFile:
      return Join(found, " bytes, but the file holds ", expected, " from the table's address on");
    case FindingKind::kStructureCountMismatch:
      return Join(expected, " structures announced, the table holds ", found);
  }
  return {};
}

// Bytes 80h-FFh are the characters U+0080-U+00FF, as the plug-in reads them.
std::string Utf8Text(std::string_view bytes) {
  std::u16string text;
  for (char byte : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(byte));
  return EncodeUtf8(text);
}

using Json = nlohmann::ordered_json;  // members in the order written

Json NumberOrNull(int32_t value) { return value == kNoValue ? Json() : Json(value); }

}  // namespace

std::string FindingLine(const Finding& f) {
  std::string line = f.in_entry_point ? "entry point  " : "";
  if (f.handle != kNoValue) line += Join("handle 0x", Hex(static_cast<uint32_t>(f.handle), 4), "  ");
  if (f.type != kNoValue) line += Join("type ", std::to_string(f.type), "  ");
  if (f.offset != kNoValue) line += Join("offset ", Hex(static_cast<uint32_t>(f.offset), 2), "h  ");
  line += f.field != nullptr ? f.field : (line.empty() ? "table" : "structure");
  line += Join(": ", Description(f));
  if (f.kind == FindingKind::kPlaceholderText) line += Join(" ", ListingString(f.text));
  return line + '\n';
}

std::string FindingsJson(const std::vector<Finding>& findings) {
  if (findings.empty()) return "[]\n";
  std::string out = "[\n";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    const Json object = {
        {"handle", NumberOrNull(f.handle)},
        {"type", NumberOrNull(f.type)},
        {"offset", NumberOrNull(f.offset)},
        {"field", f.field != nullptr ? Json(f.field) : Json()},
        {"finding", Description(f)},
        {"text", f.kind == FindingKind::kPlaceholderText ? Json(Utf8Text(f.text)) : Json()},
    };
    out += "  " + object.dump() + (i + 1 < findings.size() ? ",\n" : "\n");
  }
  return out + "]\n";
}

bool PrintFindings(bool json, const EntryPointBytes& entry) {
  const std::vector<Finding> findings = CheckTable(entry);
  if (json) {
    Out(FindingsJson(findings));
  } else {
    for (const Finding& finding : findings) Out(FindingLine(finding));
  }
  return !findings.empty();
}

Bytes KernelEntryPoint(const std::string& sysfs) {
  Input input;
  Bytes bytes;
  std::string ignored;
  if (!input.Open(sysfs + "/firmware/dmi/tables/smbios_entry_point", &ignored) ||
      !input.ReadUpTo(kEntryPointRoom, &bytes, &ignored)) {
    bytes.clear();
  }
  return bytes;
}

}  // namespace tarnwick::cli
