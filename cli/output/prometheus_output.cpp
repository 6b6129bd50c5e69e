#include "cli/output/prometheus_output.h"

#include <utf8cpp/utf8.h>

#include <algorithm>
#include <set>
#include <utility>

#include "cli/output/text_quoting.h"
#include "smbios/model/inventory_records.h"
#include "smbios/reading/placeholders.h"

namespace tarnwick::cli {
namespace {

// White space as node_exporter trims it from what it reads (Go's
// unicode.IsSpace).
bool IsSpace(uint32_t c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// `bytes` as valid UTF-8: each run of bytes that are no part of a valid
// sequence becomes one U+FFFD, as node_exporter makes its label values.
std::string ValidUtf8(std::string_view bytes) {
  std::string text;
  for (auto at = bytes.begin(); at != bytes.end();) {
    const auto invalid = utf8::find_invalid(at, bytes.end());
    text.append(at, invalid);
    if (invalid == bytes.end()) break;
    text += "\xEF\xBF\xBD";
    for (at = invalid + 1; at != bytes.end() && utf8::find_invalid(at, bytes.end()) == at;) ++at;
  }
  return text;
}

using Labels = std::vector<std::pair<const char*, std::string>>;  // values as written

std::string Braced(const Labels& labels) {
  std::string text = "{";
  for (const auto& [name, value] : labels) text += Join(text.size() > 1 ? "," : "", name, "=\"", value, "\"");
  text += '}';
  return text;
}

// One metric family of gauges; nothing when it has no series.
void Family(std::string* out, const char* name, const char* help,
            const std::vector<std::pair<Labels, uint64_t>>& series) {
  if (series.empty()) return;
  *out += Join("# HELP ", name, " ", help, "\n# TYPE ", name, " gauge\n");
  for (const auto& [labels, value] : series) *out += Join(name, Braced(labels), " ", std::to_string(value), "\n");
}

// node_exporter's labels of node_dmi_info and tarnwick's SMBIOS version, in
// the order of their names.
Labels DmiLabels(const TableModel& model) {
  Labels labels;
  for (const IdentityField& field : IdentityFields(model)) labels.emplace_back(field.label, LabelValue(field.text));
  labels.emplace_back("smbios_version", model.version ? Join(std::to_string(model.version->major), ".",
                                                             std::to_string(model.version->minor))
                                                      : "");
  std::sort(labels.begin(), labels.end(),
            [](const auto& a, const auto& b) { return std::string_view(a.first) < std::string_view(b.first); });
  return labels;
}

void MemoryFamilies(const TableModel& model, std::string* out) {
  std::vector<std::pair<Labels, uint64_t>> info, size, speed;
  std::set<std::string> seen;
  for (const MemoryDeviceRecord& device : InstalledMemoryDevices(model)) {
    Labels identity = {{"handle", "0x" + HexDigits(device.handle, 4)},
                       {"locator", LabelValue(device.locator)},
                       {"bank_locator", LabelValue(device.bank_locator)}};
    // One series per module: a module that repeats an earlier one's handle
    // and locators (a table whose handles are not unique) would make the
    // whole file one that collectors refuse.
    if (!seen.insert(Braced(identity)).second) continue;
    Labels all = identity;
    all.insert(all.end(), {{"manufacturer", LabelValue(device.manufacturer)},
                           {"part_number", LabelValue(device.part_number)},
                           {"serial_number", LabelValue(device.serial_number)},
                           {"memory_type", device.memory_type},
                           {"form_factor", device.form_factor}});
    info.emplace_back(std::move(all), 1);
    size.emplace_back(identity, device.size_bytes);
    if (device.speed_mts) speed.emplace_back(identity, *device.speed_mts);
  }
  Family(out, "tarnwick_memory_device_info", "An installed memory module (SMBIOS Memory Device).", info);
  Family(out, "tarnwick_memory_device_size_bytes", "The module's size in bytes.", size);
  Family(out, "tarnwick_memory_device_speed_mts", "The module's speed in megatransfers per second.", speed);
}

void ProcessorFamilies(const TableModel& model, std::string* out) {
  std::vector<std::pair<Labels, uint64_t>> info, cores, threads;
  std::set<std::string> seen;
  for (const ProcessorRecord& processor : PopulatedProcessors(model)) {
    Labels identity = {{"handle", "0x" + HexDigits(processor.handle, 4)}, {"socket", LabelValue(processor.socket)}};
    if (!seen.insert(Braced(identity)).second) continue;  // as for the modules
    Labels all = identity;
    all.insert(all.end(),
               {{"manufacturer", LabelValue(processor.manufacturer)}, {"version", LabelValue(processor.version)}});
    info.emplace_back(std::move(all), 1);
    if (processor.cores) cores.emplace_back(identity, *processor.cores);
    if (processor.threads) threads.emplace_back(identity, *processor.threads);
  }
  Family(out, "tarnwick_processor_info", "A populated processor socket (SMBIOS Processor Information).", info);
  Family(out, "tarnwick_processor_cores", "The processor's cores.", cores);
  Family(out, "tarnwick_processor_threads", "The processor's threads.", threads);
}

}  // namespace

std::string LabelValue(std::string_view bytes) {
  if (IsPlaceholderString(bytes)) return {};
  const std::string text = ValidUtf8(bytes);
  auto first = text.begin(), last = text.end();
  for (auto next = first; first != last && IsSpace(utf8::unchecked::next(next));) first = next;
  for (auto before = last; last != first && IsSpace(utf8::unchecked::prior(before));) last = before;
  std::string value;
  for (auto at = first; at != last; ++at) {
    if (*at == '\\' || *at == '"') value += '\\';
    value += *at == '\n' ? std::string("\\n") : std::string(1, *at);
  }
  return value;
}

std::string PrometheusText(const TableModel& model, const FindingCounts* findings) {
  std::string out;
  Family(&out, "tarnwick_dmi_info", "The machine's identity from its SMBIOS table, labelled as node_dmi_info.",
         {{DmiLabels(model), 1}});
  MemoryFamilies(model, &out);
  ProcessorFamilies(model, &out);
  if (findings != nullptr) {
    std::vector<std::pair<Labels, uint64_t>> counts;
    for (const FindingKindRow& row : kFindingKinds) {
      const char* severity = kSeverityWords[static_cast<size_t>(row.severity)];
      counts.push_back({{{"kind", row.words}, {"severity", severity}}, findings->by_kind[static_cast<size_t>(row.kind)]});
    }
    Family(&out, "tarnwick_check_findings",
           "What --check finds in the table, by kind and severity (defect, unfilled, note); 0 for a kind not found.",
           counts);
  }
  return out;
}

}  // namespace tarnwick::cli
