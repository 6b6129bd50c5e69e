#include "cli/output/table_findings.h"

#include <string_view>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "cli/output/output.h"
#include "cli/output/text_quoting.h"
#include "cli/names/utf8_utf16.h"
#include "smbios/description/structure_types.h"
#include "smbios/model/table_model.h"
#include "smbios/reading/uuid_text.h"

namespace tarnwick::cli {
namespace {

// `value` in upper-case hexadecimal digits, whole bytes of them: every
// digit it needs.
std::string Hex(uint64_t value) {
  int digits = 2;
  while (digits < 16 && (value >> (4 * digits)) != 0) digits += 2;
  return HexDigits(value, digits);
}

// A handle as every line writes it.
std::string HandleText(uint64_t handle) { return "0x" + HexDigits(handle, 4); }

// A structure's place, bytes from the table's first structure, as every
// line writes it: four digits, eight past 64 KiB.
std::string PlaceText(uint32_t position) { return "0x" + HexDigits(position, position > 0xFFFF ? 8 : 4); }

std::string VersionText(uint16_t version) {
  return Join("SMBIOS ", std::to_string(version >> 8), ".", std::to_string(version & 0xFF));
}

// The version a length comes from: the table's, or, where the table states
// none, the first that defines the type.
std::string VersionSource(const Finding& f) {
  if (f.version_stated) return Join(VersionText(f.version), " requires");
  return Join(VersionText(f.version), ", the first version to define this type, requires (the table states none)");
}

// The UUID of the System Information structure that the finding names, as
// the version reads it.
std::string UuidText(const Finding& f) {
  char16_t text[kUuidTextLength + 1];
  const SmbiosVersion version = f.version_stated ? SmbiosVersion{static_cast<uint8_t>(f.version >> 8),
                                                                 static_cast<uint8_t>(f.version & 0xFF)}
                                                 : SmbiosVersion{0, 0};
  WriteUuid(text, reinterpret_cast<const uint8_t*>(f.text.data()), version);
  return EncodeUtf8(text);
}

// The other structure, in words: "handle 0x0010 at 0x0123 (type 7, Cache Information)".
std::string OtherText(const Finding& f) {
  const char* name = StructureTypeName(static_cast<uint8_t>(f.other_type));
  return Join("handle ", HandleText(static_cast<uint32_t>(f.other_handle)), " at ", PlaceText(f.other_position),
              " (type ", std::to_string(f.other_type), name != nullptr ? Join(", ", name) : "", ")");
}

std::string BytesText(const Finding& f) { return Join("bytes ", Hex(f.found), "h-", Hex(f.expected), "h"); }

// What was found, in words.
std::string Words(const Finding& f) {
  const std::string found = std::to_string(f.found);
  const std::string expected = std::to_string(f.expected);
  switch (f.kind) {
    case FindingKind::kLengthBelowHeader:
      return Join("length ", found, ", below the 4 bytes of a header: the structures from here on are lost");
    case FindingKind::kPastTableEnd:
      return "the structure runs past the end of the table: it and any after it are lost";
    case FindingKind::kNoEndOfTable:
      return "no end-of-table structure (type 127)";
    case FindingKind::kTableLengthMismatch:
      return Join(expected, " bytes announced, the structures use ", found);
    case FindingKind::kShortForVersion:
      return Join("length ", Hex(f.found), "h, shorter than the ", Hex(f.expected), "h that ", VersionSource(f),
                  ": the fields from ", Hex(f.found), "h on are missing");
    case FindingKind::kLongForVersion:
      return Join("length ", Hex(f.found), "h, longer than the ", Hex(f.expected), "h that ", VersionText(f.version),
                  " defines: readers skip what they do not know");
    case FindingKind::kStringBeyondSet:
      return Join("string number ", found, ", but the structure holds ", expected,
                  f.expected == 1 ? " string" : " strings");
    case FindingKind::kPlaceholderText:
      return "placeholder text";
    case FindingKind::kPlaceholderUuid:
      return Join("placeholder UUID ", UuidText(f));
    case FindingKind::kUuidNotPresent:
      return f.found == 0 ? "all 00h: not present (DSP0134 7.2.1)"
                          : "all FFh: not present in the system, but it can be set (DSP0134 7.2.1)";
    case FindingKind::kOutOfRange:
      return Join("value ", Hex(f.found), "h, which DSP0134 does not define here");
    case FindingKind::kReservedBits:
      return Join("value ", Hex(f.found), "h sets reserved bits (", Hex(f.found & f.expected), "h)");
    case FindingKind::kReservedNonzero:
      return Join("reserved, but holds ", Hex(f.found), "h");
    case FindingKind::kAddressRange:
      return Join("ends at ", Hex(f.found), "h, below its start ", Hex(f.expected), "h: an empty range");
    case FindingKind::kSlotAddress:
      return Join(HexDigits(f.found, f.expected > 0xFF ? 4 : 2), "h, for a slot type without PCI numbers (",
                  Hex(f.expected), "h expected)");
    case FindingKind::kElementsPastLength:
      return Join("the contained elements end at ", Hex(f.found), "h, past the structure's length ", Hex(f.expected),
                  "h");
    case FindingKind::kSocketTypeMissing:
      return "no string, but Processor Upgrade FFh points to it";
    case FindingKind::kHandleReused:
      return Join(HandleText(f.found), ", which ", OtherText(f), " bears too: a handle is unique (DSP0134 6.1.2)");
    case FindingKind::kHandleReserved:
      return f.found >= 0xFFFE
                 ? Join(HandleText(f.found), ", which stands for none in the fields that point at structures (DSP0134 6.1.2)")
                 : Join(HandleText(f.found), ", in FF00h-FFFFh, which DSP0134 reserves to itself from 2.1 on (DSP0134 6.1.2)");
    case FindingKind::kHandleDangling:
      return Join(HandleText(f.found), ", which no structure bears");
    case FindingKind::kHandleWrongType:
      return Join(HandleText(f.found), ", which points at ", OtherText(f), ", a type this field does not point at");
    case FindingKind::kDeviceCount:
      return Join(found, " devices, but ", expected, f.expected == 1 ? " Memory Device names" : " Memory Devices name",
                  " this array: one for each socket, populated or not (DSP0134 7.17, 7.18)");
    case FindingKind::kRangeOverlap:
      return Join(BytesText(f), " overlap the range of ", OtherText(f), " (DSP0134 7.20)");
    case FindingKind::kRangeOutside:
      return Join(BytesText(f), " are not within the range of ", OtherText(f), ", the array mapping it names (DSP0134 7.21)");
    case FindingKind::kStructureMissing: {
      const char* name = StructureTypeName(static_cast<uint8_t>(f.type));
      return Join("no ", name != nullptr ? name : "", " structure (type ", std::to_string(f.type),
                  "): SMBIOS 2.3 and later require one (DSP0134 6.2)");
    }
    case FindingKind::kEntryPointChecksum:
      return Join("the bytes it covers sum to ", Hex(f.found), "h, not 0");
    case FindingKind::kEntryPointLength:
      return Join("length ", Hex(f.found), "h, not the ", Hex(f.expected), "h of this entry point");
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

// The section of DSP0134 3.9 whose rule a defect breaks: the structure's
// header and strings (6.1.2, 6.1.3), the entry point's fields (5.2), or the
// section of the structure's type (7.n for type n - 1; 7.48 inactive, 7.49
// end-of-table), which defines its length, values and handles.
std::string RuleSection(const Finding& f) {
  switch (f.kind) {
    case FindingKind::kLengthBelowHeader:
      return "6.1.2";
    case FindingKind::kPastTableEnd:
    case FindingKind::kStringBeyondSet:
      return "6.1.3";
    case FindingKind::kNoEndOfTable:
      return "7.49";
    case FindingKind::kTableLengthMismatch:
    case FindingKind::kEntryPointChecksum:
    case FindingKind::kEntryPointLength:
    case FindingKind::kIntermediateAnchor:
    case FindingKind::kTableAddressZero:
    case FindingKind::kLengthPastFile:
    case FindingKind::kStructureCountMismatch:
      return "5.2";
    default:
      break;
  }
  if (f.type >= 0 && f.type <= 46) return Join("7.", std::to_string(f.type + 1));
  if (f.type == 126 || f.type == 127) return f.type == 126 ? "7.48" : "7.49";
  return {};
}

// What was found, in words; a defect's with the rule it breaks, where the
// words do not name it already.
std::string Description(const Finding& f) {
  const std::string words = Words(f);
  if (KindRow(f.kind).severity != Severity::kDefect || words.find("DSP0134") != std::string::npos) return words;
  const std::string section = RuleSection(f);
  return section.empty() ? words : Join(words, " (DSP0134 ", section, ")");
}

// Kinds that name a place or an absence rather than a value found.
bool HasValue(FindingKind kind) {
  return kind != FindingKind::kNoEndOfTable && kind != FindingKind::kPastTableEnd &&
         kind != FindingKind::kSocketTypeMissing && kind != FindingKind::kIntermediateAnchor &&
         kind != FindingKind::kStructureMissing;
}

// Whether the finding names a structure's place in the table (a missing
// structure has none).
bool HasPlace(const Finding& f) { return f.type != kNoValue && f.kind != FindingKind::kStructureMissing; }

const char* SeverityWords(FindingKind kind) { return kSeverityWords[static_cast<size_t>(KindRow(kind).severity)]; }

// The field and what was found, as a line ends.
std::string FieldAndWords(const Finding& f) {
  std::string text;
  if (f.offset != kNoValue) text += Join("offset ", Hex(static_cast<uint32_t>(f.offset)), "h  ");
  text += f.field != nullptr ? f.field : (f.type != kNoValue ? "structure" : f.in_entry_point ? "entry point" : "table");
  text += Join(": ", Description(f));
  if (f.kind == FindingKind::kPlaceholderText) text += Join(" ", ListingString(f.text));
  return text + '\n';
}

using Json = nlohmann::json;

std::string NumberOrNull(int32_t value) { return value == kNoValue ? "null" : std::to_string(value); }

// ASCII text as a JSON string.
std::string Quoted(std::string_view ascii) {
  std::string out = "\"";
  for (const char c : ascii) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

// A group of identical findings (the same kind, type, field and value) on
// consecutive structures of one type: its first finding, how many, and
// their handles as runs, the first few of them.
struct Group {
  static constexpr size_t kShownRuns = 4;
  Finding first;
  uint64_t count = 0;
  uint16_t runs[kShownRuns][2] = {};
  size_t run_count = 0;
  bool more = false;

  void Add(uint16_t handle) {
    ++count;
    if (run_count > 0 && runs[run_count - 1][1] + 1 == handle) {
      runs[run_count - 1][1] = handle;
    } else if (run_count < kShownRuns) {
      runs[run_count][0] = runs[run_count][1] = handle;
      ++run_count;
    } else {
      more = true;
    }
  }

  std::string Line() const {
    if (count == 1) return FindingLine(first);
    std::string handles;
    for (size_t i = 0; i < run_count; ++i) {
      if (i > 0) handles += ", ";
      handles += HandleText(runs[i][0]);
      if (runs[i][1] != runs[i][0]) handles += Join("-", HandleText(runs[i][1]));
    }
    if (more) handles += ", ...";
    return Join(SeverityWords(first.kind), " ", KindRow(first.kind).words, "  type ", std::to_string(first.type), ", ",
                std::to_string(count), " structures (", handles, ")  ", FieldAndWords(first));
  }
};

// What makes two findings on different structures identical.
std::string GroupKey(const Finding& f) {
  std::string key(reinterpret_cast<const char*>(&f.kind), sizeof f.kind);
  for (const uint64_t value : {uint64_t(f.offset), f.found, f.expected, uint64_t(f.other_handle), uint64_t(f.version)}) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  return key + (f.field != nullptr ? f.field : "") + '\0' + std::string(f.text);
}

// Lines as the findings come: those on structures of one type, one run of
// them in the table, are held as groups until the type changes (or too
// many differ), so that memory holds one run's groups at most.
class FindingLines final : public FindingSink {
 public:
  explicit FindingLines(const TextSink& write) : write_(write) {}

  void Take(const Finding& f) override {
    counts_.Take(f);
    if (!HasPlace(f) || f.handle == kNoValue) {
      Flush();
      return write_(FindingLine(f));
    }
    if (f.type != type_ || groups_.size() == kMostGroups) Flush();
    type_ = f.type;
    const auto [at, added] = index_.try_emplace(GroupKey(f), groups_.size());
    if (added) groups_.push_back({f});
    groups_[at->second].Add(static_cast<uint16_t>(f.handle));
  }

  void Flush() {
    for (const Group& group : groups_) write_(group.Line());
    groups_.clear();
    index_.clear();
    type_ = kNoValue;
  }

  const FindingCounts& counts() const { return counts_; }

 private:
  static constexpr size_t kMostGroups = 1024;
  const TextSink& write_;
  FindingCounts counts_;
  int32_t type_ = kNoValue;
  std::vector<Group> groups_;
  std::unordered_map<std::string, size_t> index_;
};

// One JSON object per finding, written as it comes.
class FindingArray final : public FindingSink {
 public:
  explicit FindingArray(const TextSink& write) : write_(write) {}

  void Take(const Finding& f) override {
    counts_.Take(f);
    write_(counts_.Total() == 1 ? "[\n  " : ",\n  ");
    write_(FindingJson(f));
  }

  void Close() { write_(counts_.Total() == 0 ? "[]\n" : "\n]\n"); }

  const FindingCounts& counts() const { return counts_; }

 private:
  const TextSink& write_;
  FindingCounts counts_;
};

}  // namespace

std::string FindingLine(const Finding& f) {
  std::string line = Join(SeverityWords(f.kind), " ", KindRow(f.kind).words, "  ");
  if (f.in_entry_point) line += "entry point  ";
  if (f.handle != kNoValue) line += Join("handle ", HandleText(static_cast<uint32_t>(f.handle)), "  ");
  if (HasPlace(f)) line += Join("at ", PlaceText(f.position), "  ");
  if (f.type != kNoValue) line += Join("type ", std::to_string(f.type), "  ");
  return line + FieldAndWords(f);
}

std::string CountsLine(const FindingCounts& counts) {
  const uint64_t defects = counts.Of(Severity::kDefect);
  const uint64_t notes = counts.Of(Severity::kNote);
  return Join(std::to_string(defects), defects == 1 ? " defect, " : " defects, ",
              std::to_string(counts.Of(Severity::kUnfilled)), " unfilled, ", std::to_string(notes),
              notes == 1 ? " note\n" : " notes\n");
}

// Written member by member: a table of findings may hold millions, and
// the words and names are ASCII, which need only quotes and backslashes
// escaped; the firmware's texts go through the JSON library.
std::string FindingJson(const Finding& f) {
  std::string value = HasValue(f.kind) ? std::to_string(f.found) : "null";
  if (f.kind == FindingKind::kPlaceholderText) value = Json(FirmwareText(f.text)).dump();
  if (f.kind == FindingKind::kPlaceholderUuid || f.kind == FindingKind::kUuidNotPresent) value = Quoted(UuidText(f));
  const std::string other =
      f.other_handle == kNoValue ? "null"
                                 : Join("{\"handle\":", std::to_string(f.other_handle), ",\"at\":",
                                        std::to_string(f.other_position), ",\"type\":", std::to_string(f.other_type), "}");
  return Join("{\"severity\":", Quoted(SeverityWords(f.kind)), ",\"kind\":", Quoted(KindRow(f.kind).words),
              ",\"handle\":", NumberOrNull(f.handle), ",\"at\":", HasPlace(f) ? std::to_string(f.position) : "null",
              ",\"type\":", NumberOrNull(f.type), ",\"offset\":", NumberOrNull(f.offset),
              ",\"field\":", f.field != nullptr ? Quoted(f.field) : "null",
              ",\"entry_point\":", f.in_entry_point ? "true" : "false", ",\"value\":", value, ",\"other\":", other,
              ",\"finding\":", Quoted(Description(f)), "}");
}

FindingCounts WriteFindings(bool json, const TableModel& model, const TextSink& write) {
  if (json) {
    FindingArray array(write);
    CheckModel(model, &array);
    array.Close();
    return array.counts();
  }
  FindingLines lines(write);
  CheckModel(model, &lines);
  lines.Flush();
  write(CountsLine(lines.counts()));
  return lines.counts();
}

bool PrintFindings(bool json, const TableModel& model) {
  const TextSink out = [](std::string_view text) { Out(text); };
  return WriteFindings(json, model, out).Of(Severity::kDefect) != 0;
}

}  // namespace tarnwick::cli
