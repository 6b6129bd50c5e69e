// Answers to NAMEs as a run asks for them: from its table, --real or not,
// shown as lines, as members of one JSON object or as cmd.exe's set lines.
#pragma once

#include <string>

#include "cli/output/json_stream.h"
#include "cli/input/machine_table.h"
#include "cli/options.h"

namespace tarnwick::cli {

class Answers {
 public:
  Answers(const Task& task, const MachineTable& machine)
      : machine_(machine), real_(task.real), format_(task.format) {}

  // A failed NAME keeps its place: null in JSON, an empty line as lines,
  // so that answers read by position stay the NAMEs' (its reason is on
  // standard error); no set line for cmd.exe. An ExitStatus.
  int Evaluate(const std::string& text);

  // Each line is answered as it is read, so that answers stream out.
  int EvaluateBatchFile(const std::string& path);

  // Every variable; as lines, each name padded to the longest and two
  // blanks. Variables that the folder of DMI files cannot give, when it
  // stands in for the table, have no value and are named once on standard
  // error: the report is what can be read, and no failure.
  int Report();

  // Members already written are closed into an object even when a later
  // batch file cannot be read.
  void CloseJson(int status);

 private:
  // False when the answer cannot be shown as the format asks.
  bool Show(const std::string& name, const std::string& value);

  const MachineTable& machine_;
  const bool real_;
  const Format format_;
  JsonObjectStream json_;
};

}  // namespace tarnwick::cli
