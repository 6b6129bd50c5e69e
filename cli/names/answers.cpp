#include "cli/names/answers.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/input/batch_file.h"
#include "cli/output/cmd_set_lines.h"
#include "cli/exit_status.h"
#include "cli/names/host_state.h"
#include "cli/names/name_message.h"
#include "cli/output/output.h"
#include "cli/output/real_values.h"
#include "cli/input/table_file.h"
#include "cli/names/utf8_utf16.h"
#include "host/export_table.h"
#include "platform/system.h"

namespace tarnwick::cli {

int Answers::Evaluate(const std::string& text) {
  const CallResult result = CallAnswer(machine_, text, real_);
  if (result.ok) return Show(text, result.value) ? kAllAnswered : kNameFailed;
  if (format_ == Format::kJson) json_.Member(text, nullptr);
  if (format_ == Format::kLines) Out("\n");
  return kNameFailed;
}

int Answers::EvaluateBatchFile(const std::string& path) {
  Bytes file;
  std::string error;
  if (!ReadBatchFile(path, &file, &error)) return Refuse(error);
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  // Room for a name per line, reserved before they come: memory grows as they do, without copies.
  json_.Expect(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  HostState& host = Host();
  host.in_batch = true;
  host.batch_name = path == "-" ? "<stdin>" : platform::FullPathName(path);
  int status = kAllAnswered;
  ForEachBatchLine(text, [&](const BatchLine& line) {
    host.batch_line = line.number;
    status = Worst(status, Evaluate(line.text));
  });
  host.in_batch = false;
  return status;
}

int Answers::Report() {
  int status = kAllAnswered;
  std::vector<std::string> need_table;
  for (const ExportEntry& row : kExportTable) {
    if (row.is_function) continue;
    const std::string name = EncodeUtf8(row.name);
    const size_t refused = need_table.size();
    const CallResult result = CallAnswer(machine_, name, real_, &need_table);
    if (!result.ok) {
      status = Worst(status, need_table.size() > refused ? kAllAnswered : kNameFailed);
      if (format_ == Format::kJson) json_.Member(name, nullptr);
      if (format_ == Format::kLines) Out(name + "\n");
    } else if (format_ != Format::kLines) {
      status = Worst(status, Show(name, result.value) ? kAllAnswered : kNameFailed);
    } else if (result.value.empty()) {
      Out(name + "\n");  // no trailing blanks after a name without value
    } else {
      Out(name + std::string(name.size() < 20 ? 20 - name.size() : 2, ' ') + result.value + "\n");
    }
  }
  if (!need_table.empty()) RefuseNeedingTable(machine_, need_table);
  return status;
}

void Answers::CloseJson(int status) {
  if (format_ == Format::kJson && (status != kCannotRun || json_.Started())) json_.Close();
}

bool Answers::Show(const std::string& name, const std::string& value) {
  if (format_ == Format::kJson) {
    json_.Member(name, &value);
  } else if (format_ == Format::kCmd) {
    std::string line, reason;
    if (!CmdSetLine(name, value, &line, &reason)) {
      RefuseName(name, reason);
      return false;
    }
    Out(line);
  } else {
    Out(value + "\n");
  }
  return true;
}

}  // namespace tarnwick::cli
