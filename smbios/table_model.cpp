#include "smbios/table_model.h"

#include "smbios/string_set.h"

namespace tarnwick {

std::optional<uint8_t> Structure::Byte(uint32_t offset) const {
  if (offset >= length) return std::nullopt;
  return bytes[offset];
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

// The table behind the header, when the loader takes one, and its version.
TableModel ReadTableHead(const uint8_t* buffer, uint32_t size) {
  TableModel model;
  if (buffer == nullptr) return model;
  uint32_t start = 0;
  if (ServiceHeaderFits(buffer, size)) {
    const ServiceHeader header = ReadServiceHeader(buffer);
    model.header = header;
    model.version = SmbiosVersion{header.major, header.minor};
    start = kServiceHeaderSize;
  }
  model.table = {buffer + start, size - start};
  return model;
}

}  // namespace

TableModel ReadTableModel(const uint8_t* buffer, uint32_t size) {
  TableModel model = ReadTableHead(buffer, size);
  if (buffer == nullptr) return model;
  const auto start = static_cast<uint32_t>(model.table.data() - buffer);
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

TableModel LoadedTableModel() { return ReadTableModel(g_firmware_table.buffer, g_firmware_table.size); }

TableModel LoadedTableHead() { return ReadTableHead(g_firmware_table.buffer, g_firmware_table.size); }

}  // namespace tarnwick
