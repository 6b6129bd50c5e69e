#include "smbios/model/table_model.h"

#include "smbios/reading/field_reader.h"
#include "smbios/reading/string_set.h"

namespace tarnwick {

std::optional<uint64_t> Structure::Field(uint32_t offset, uint32_t width) const {
  uint64_t value = 0;
  if (width == 0 || width > 8 || !ReadField(bytes, offset, width, &value)) return std::nullopt;
  return value;
}

std::optional<std::string_view> Structure::StringField(uint32_t offset) const {
  const std::optional<uint64_t> number = Field(offset);
  if (!number) return std::nullopt;
  return String(static_cast<uint32_t>(*number)).value_or(std::string_view());
}

std::optional<std::string_view> Structure::String(uint32_t number) const {
  if (number == 0 || number > strings.size()) return std::nullopt;
  return strings[number - 1];
}

std::vector<std::string_view> SplitStringSet(const uint8_t* set, const uint8_t* end) {
  std::vector<std::string_view> strings;
  for (std::string_view text; !(text = StringAt(set, end)).empty(); set += text.size() + 1) strings.push_back(text);
  return strings;
}

namespace {

using Visited = std::vector<std::pair<const uint8_t*, size_t>>;

void Collect(const uint8_t* structure, size_t size, void* visited) {
  static_cast<Visited*>(visited)->emplace_back(structure, size);
}

}  // namespace

TableModel ReadTableModel(std::span<const uint8_t> bytes, const EntryPointBytes& entry) {
  TableModel model;
  const EntryPoint read = ReadEntryPoint(entry.bytes, entry.size);
  if (read.kind != EntryPointKind::kNone) {
    model.entry_point = read;
    model.entry_point_bytes = entry;
  }
  const uint8_t* buffer = bytes.data();
  if (buffer == nullptr) return model;
  const auto size = static_cast<uint32_t>(bytes.size());
  const TableStart table_start = FindTableStart(buffer, size);
  const uint32_t start = table_start.offset;
  model.header = table_start.header;
  if (model.header) model.version = SmbiosVersion{model.header->major, model.header->minor};
  model.table = {buffer + start, size - start};
  Visited visited;
  model.walk = WalkStructures(buffer, size, start, &Collect, &visited);
  // Positions and the walk's offsets count from the table's first structure.
  model.walk.last_offset -= start;
  model.walk.end_offset -= start;

  std::vector<std::pair<size_t, size_t>> string_ranges;
  for (const auto& [structure, span] : visited) {
    const size_t first = model.string_store.size();
    for (std::string_view text : SplitStringSet(structure + structure[1], structure + span))
      model.string_store.push_back(text);
    string_ranges.emplace_back(first, model.string_store.size() - first);
  }
  model.structures.reserve(visited.size());
  for (size_t i = 0; i < visited.size(); ++i) {
    const auto& [structure, span] = visited[i];
    const auto [first, count] = string_ranges[i];
    model.structures.push_back(Structure{
        static_cast<uint32_t>(structure - model.table.data()), static_cast<uint32_t>(span), structure[0],
        structure[1], StructureHandle(structure), structure,
        std::span<const std::string_view>(model.string_store).subspan(first, count)});
  }
  return model;
}

}  // namespace tarnwick
