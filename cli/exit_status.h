// tarnwick's exit status: the worst of its steps' statuses, and a step that
// cannot run ends the run.
#pragma once

#include <algorithm>
#include <string>

#include "cli/output/output.h"

namespace tarnwick::cli {

// 0 when every NAME answered, 1 when a NAME failed (or --check found
// something), 2 when tarnwick cannot run.
enum ExitStatus { kAllAnswered = 0, kNameFailed = 1, kCannotRun = 2 };

inline int Worst(int status, int step) { return std::max(status, step); }

// "tarnwick: MESSAGE" on standard error, and the status of a run that cannot go on.
inline int Refuse(const std::string& message) {
  Err("tarnwick: " + message + "\n");
  return kCannotRun;
}

}  // namespace tarnwick::cli
