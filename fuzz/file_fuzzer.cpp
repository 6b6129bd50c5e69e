// tarnwick's reading of table files (smbios/model/dump_layout.h): any bytes as a
// dump, a firmware-service buffer or a bare table. A file is taken, or
// refused with a reason, by tarnwick or the loader; a table that loads,
// written in --dump-bin's layout, has sound checksums and the loader's
// count, and reads back as the same table and version. (Batch files, the
// other file tarnwick reads, have a target of their own: batch_fuzzer.)
// --check's output of the file, as lines and as JSON, is whole: every
// finding counted once, in a line or a group's count, and one JSON object
// each. --decode reads every table that loads, and every structure of it
// cut at each length: its JSON parses, as an array of one object per
// structure.
#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/output/decode_output.h"
#include "cli/output/table_findings.h"
#include "fuzz/fuzz_require.h"
#include "fuzz/quiet_host.h"
#include "host/exports.h"
#include "plugin/lifecycle.h"
#include "smbios/description/structure_decoding.h"
#include "smbios/model/dump_layout.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/model/table_model.h"

using namespace tarnwick;
using namespace tarnwick::fuzzing;

namespace {

bool ChecksumsHold(const Bytes& dump, const EntryPoint& entry) {
  for (uint8_t i = 0; i < entry.checksum_count; ++i) {
    const ChecksumRange range = entry.checksums[i];
    if (ByteSum(dump.data() + range.from, range.length) != 0) return false;
  }
  return true;
}

// The counts a line of findings adds: 1, or a group's count.
uint64_t Counted(const std::string& line) {
  static const std::regex group(R"(^\w+ \S+  type \d+, (\d+) structures \()");
  std::smatch match;
  return std::regex_search(line, match, group) ? std::stoull(match[1]) : 1;
}

void CheckFindings(const Bytes& file) {
  const TableModel model = ReadTableModel(HeldTable(), {file.data(), file.size(), file.size()});
  std::string text, json;
  const FindingCounts lines = cli::WriteFindings(false, model, [&](std::string_view t) { text += t; });
  const FindingCounts array = cli::WriteFindings(true, model, [&](std::string_view t) { json += t; });
  FUZZ_REQUIRE(lines.Total() == array.Total());
  const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
  FUZZ_REQUIRE(parsed.is_array() && parsed.size() == array.Total());
  std::istringstream in(text);
  uint64_t counted = 0;
  std::string line, last;
  while (std::getline(in, line)) {
    if (!last.empty()) counted += Counted(last);
    last = line;
  }
  FUZZ_REQUIRE(counted == lines.Total() && last + "\n" == cli::CountsLine(lines));
}

size_t DecodedStructures(const TableModel& model) {
  const nlohmann::json decoded = nlohmann::json::parse(cli::DecodeJson(model, {}), nullptr, false);
  FUZZ_REQUIRE(!decoded.is_discarded() && decoded.is_array());
  cli::DecodeText(model, {});
  return decoded.size();
}

// Each structure alone, its formatted area cut to every length from the
// header on: fields past the cut are absent, and none reads past it (ASan).
// The cuts are read as text only: JSON's writing of the same fields is
// checked on the whole table, and parsing it at every cut of every
// structure left the fuzzer no time to fuzz.
void DecodeCut(const TableModel& model) {
  for (const Structure& structure : model.structures) {
    for (uint32_t length = 4; length < structure.length; ++length) {
      std::vector<uint8_t> cut(structure.bytes, structure.bytes + length);
      cut[1] = static_cast<uint8_t>(length);
      TableModel alone;
      alone.version = model.version;
      alone.structures.push_back(structure);
      alone.structures[0].bytes = cut.data();
      alone.structures[0].length = static_cast<uint8_t>(length);
      for (const DecodedField& field : StructureDecoder(alone).Decode(alone.structures[0])) {
        FUZZ_REQUIRE(field.offset + field.width <= length);
      }
      cli::DecodeText(alone, {});
    }
  }
}

void CheckDecoding() {
  const TableModel model = ReadTableModel(HeldTable());
  FUZZ_REQUIRE(DecodedStructures(model) == model.structures.size());
  DecodeCut(model);
}

void CheckTableFile(const Bytes& file) {
  Bytes service;
  if (ServiceLayoutFromFile(file, &service).refusal != FileRefusal::kNone) return;
  FUZZ_REQUIRE(service.size() <= file.size() + kServiceHeaderSize);
  Forget();
  if (InitializeWithTable(service.data(), static_cast<uint32_t>(service.size())) != 0) {
    FUZZ_REQUIRE(Record().last_error == u"Plugin not loaded.\r\n");  // after the loader's reason
    return;
  }

  const TableImage image = ImageOf(ReadTableModel(HeldTable()));
  FUZZ_REQUIRE(image.count >= g_structure_index.count && image.largest >= 6);
  const Bytes dump = DumpLayout(image);
  const EntryPoint entry = ReadEntryPoint(dump.data(), dump.size());
  FUZZ_REQUIRE(entry.complete && ChecksumsHold(dump, entry));
  FUZZ_REQUIRE(entry.kind == EntryPointKind::kSmbios3 ||
               entry.structure_count == std::min<uint32_t>(image.count, 0xFFFF));
  Bytes again;
  FUZZ_REQUIRE(ServiceLayoutFromFile(dump, &again).refusal == FileRefusal::kNone);
  const size_t header = image.has_version ? kServiceHeaderSize : 0;
  FUZZ_REQUIRE(again.size() == header + image.size);
  FUZZ_REQUIRE(std::equal(image.table, image.table + image.size, again.begin() + static_cast<ptrdiff_t>(header)));
  FUZZ_REQUIRE(!image.has_version || (again[1] == image.major && again[2] == image.minor));
  CheckFindings(file);
  CheckDecoding();
  ShutdownPlugin(0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckTableFile(Bytes(data, data + size));
  return 0;
}
