#include "cli/table_findings.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/output.h"
#include "cli/text_quoting.h"
#include "cli/utf8_utf16.h"
#include "smbios/entry_point.h"
#include "smbios/uuid_text.h"

namespace tarnwick::cli {
namespace {

// A bare table's version is unknown: 0.0.
std::string VersionText(const Finding& finding) {
  return Join("SMBIOS ", std::to_string(finding.version.major), ".", std::to_string(finding.version.minor));
}

// The UUID that the finding names, in its table's byte order.
std::string UuidText(const Finding& finding) {
  char16_t text[kUuidTextLength + 1];
  WriteUuid(text, finding.bytes.data(), finding.version);
  return EncodeUtf8(text);
}

// `value` in upper-case hexadecimal digits, whole bytes of them.
std::string HexOfWidth(uint64_t value) {
  int digits = 2;
  while (digits < 16 && (value >> (4 * digits)) != 0) digits += 2;
  return HexDigits(value, digits);
}

// What was found, in words.
std::string Description(const Finding& f) {
  const std::string found = std::to_string(f.found);
  const std::string expected = std::to_string(f.expected);
  switch (f.kind) {
    case FindingKind::kLengthBelowHeader:
      return Join("length ", found, " at table offset 0x", HexDigits(f.position, 4),
                  ", below the 4 bytes of a header: the structures from here on are lost");
    case FindingKind::kPastTableEnd:
      return Join("the structure at table offset 0x", HexDigits(f.position, 4),
                  " runs past the end of the table: it and any after it are lost");
    case FindingKind::kNoEndOfTable:
      return "no end-of-table structure (type 127)";
    case FindingKind::kTableLengthMismatch:
      return Join(expected, " bytes announced, the structures use ", found);
    case FindingKind::kShortForVersion:
      return Join("length ", HexDigits(f.found, 2), "h, shorter than the ", HexDigits(f.expected, 2), "h that ", VersionText(f),
                  " requires: the fields from ", HexDigits(f.found, 2), "h on are missing");
    case FindingKind::kLongForVersion:
      return Join("length ", HexDigits(f.found, 2), "h, longer than the ", HexDigits(f.expected, 2), "h that ", VersionText(f),
                  " defines: readers skip what they do not know");
    case FindingKind::kStringBeyondSet:
      return Join("string number ", found, ", but the structure holds ", expected,
                  f.expected == 1 ? " string" : " strings");
    case FindingKind::kPlaceholderText:
      return "placeholder text";
    case FindingKind::kPlaceholderUuid:
      return Join("placeholder UUID ", UuidText(f));
    case FindingKind::kOutOfRange:
      return Join("value ", HexOfWidth(f.found), "h, which DSP0134 does not define here");
    case FindingKind::kReservedBits:
      return Join("value ", HexOfWidth(f.found), "h sets reserved bits (", HexOfWidth(f.found & f.expected), "h)");
    case FindingKind::kReservedNonzero:
      return Join("reserved, but holds ", HexOfWidth(f.found), "h");
    case FindingKind::kAddressRange:
      return Join("ends at ", HexOfWidth(f.found), "h, below its start ", HexOfWidth(f.expected), "h: an empty range");
    case FindingKind::kSlotAddress:
      return Join(HexDigits(f.found, f.expected > 0xFF ? 4 : 2), "h, for a slot type without PCI numbers (",
                  HexOfWidth(f.expected), "h expected)");
    case FindingKind::kElementsPastLength:
      return Join("the contained elements end at ", HexDigits(f.found, 2), "h, past the structure's length ",
                  HexDigits(f.expected, 2), "h");
    case FindingKind::kSocketTypeMissing:
      return "no string, but Processor Upgrade FFh points to it";
    case FindingKind::kEntryPointChecksum:
      return Join("the bytes it covers sum to ", HexDigits(f.found, 2), "h, not 0");
    case FindingKind::kEntryPointLength:
      return Join("length ", HexDigits(f.found, 2), "h, not the ", HexDigits(f.expected, 2), "h of this entry point");
    case FindingKind::kIntermediateAnchor:
      return "not \"_DMI_\"";
    case FindingKind::kTableAddressZero:
      return "0: no table";
    case FindingKind::kLengthPastFile:
      return Join(found, " bytes, but the file holds ", expected, " from the table's address on");
    case FindingKind::kStructureCountMismatch:
      return Join(expected, " structures announced, the table holds ", found);
  }
  return {};
}

// Kinds that name a place or an absence rather than a value found.
bool HasValue(FindingKind kind) {
  return kind != FindingKind::kNoEndOfTable && kind != FindingKind::kPastTableEnd &&
         kind != FindingKind::kSocketTypeMissing && kind != FindingKind::kIntermediateAnchor;
}

using Json = nlohmann::ordered_json;  // members in the order written

Json NumberOrNull(int32_t value) { return value == kNoValue ? Json() : Json(value); }

}  // namespace

std::string FindingLine(const Finding& f) {
  const FindingKindRow& kind = KindRow(f.kind);
  std::string line = Join(kind.defect ? "defect " : "note ", kind.words, "  ");
  if (f.in_entry_point) line += "entry point  ";
  if (f.handle != kNoValue) line += Join("handle 0x", HexDigits(static_cast<uint32_t>(f.handle), 4), "  ");
  if (f.type != kNoValue) line += Join("at 0x", HexDigits(f.position, f.position > 0xFFFF ? 8 : 4), "  ");
  if (f.type != kNoValue) line += Join("type ", std::to_string(f.type), "  ");
  if (f.offset != kNoValue) line += Join("offset ", HexDigits(static_cast<uint32_t>(f.offset), 2), "h  ");
  line += f.field != nullptr ? f.field : (f.type != kNoValue ? "structure" : f.in_entry_point ? "entry point" : "table");
  line += Join(": ", Description(f));
  if (f.kind == FindingKind::kPlaceholderText) line += Join(" ", ListingString(f.text));
  return line + '\n';
}

std::string CountsLine(const std::vector<Finding>& findings) {
  const auto defects = std::count_if(findings.begin(), findings.end(),
                                     [](const Finding& f) { return KindRow(f.kind).defect; });
  const auto notes = static_cast<std::ptrdiff_t>(findings.size()) - defects;
  return Join(std::to_string(defects), defects == 1 ? " defect, " : " defects, ", std::to_string(notes),
              notes == 1 ? " note\n" : " notes\n");
}

std::string FindingsJson(const std::vector<Finding>& findings) {
  if (findings.empty()) return "[]\n";
  std::string out = "[\n";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    const FindingKindRow& kind = KindRow(f.kind);
    Json value = HasValue(f.kind) ? Json(f.found) : Json();
    if (f.kind == FindingKind::kPlaceholderText) value = FirmwareText(f.text);
    if (f.kind == FindingKind::kPlaceholderUuid) value = UuidText(f);
    const Json object = {
        {"severity", kind.defect ? "defect" : "note"},
        {"kind", kind.words},
        {"handle", NumberOrNull(f.handle)},
        {"at", f.type != kNoValue ? Json(f.position) : Json()},
        {"type", NumberOrNull(f.type)},
        {"offset", NumberOrNull(f.offset)},
        {"field", f.field != nullptr ? Json(f.field) : Json()},
        {"entry_point", f.in_entry_point},
        {"value", value},
        {"finding", Description(f)},
    };
    out += "  " + object.dump() + (i + 1 < findings.size() ? ",\n" : "\n");
  }
  return out + "]\n";
}

bool PrintFindings(bool json, const TableModel& model) {
  const std::vector<Finding> findings = CheckModel(model);
  if (json) {
    Out(FindingsJson(findings));
  } else {
    for (const Finding& finding : findings) Out(FindingLine(finding));
    Out(CountsLine(findings));
  }
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return KindRow(f.kind).defect; });
}

}  // namespace tarnwick::cli
