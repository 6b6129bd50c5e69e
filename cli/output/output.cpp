#include "cli/output/output.h"

#include <cstdlib>
#include <string>

#include "platform/system.h"

namespace tarnwick::cli {
namespace {

using platform::StandardErrorHandle;
using platform::StandardOutputHandle;

std::string& Pending() {
  static std::string pending;
  return pending;
}

// Writes `text` or ends the process: what is left unwritten would be lost
// without a word, and a run that lost output must not read as success.
void WriteOrEnd(void* handle, std::string_view text) {
  std::string reason;
  const platform::WriteOutcome outcome = platform::WriteText(handle, text, &reason);
  if (outcome == platform::WriteOutcome::kWritten) return;
  if (outcome == platform::WriteOutcome::kFailed) {
    // Standard error may be what failed; then nothing is left to tell.
    std::string ignored;
    platform::WriteText(StandardErrorHandle(), "tarnwick: write error: " + reason + "\n", &ignored);
  }
  Pending().clear();
  std::exit(kWriteFailed);
}

}  // namespace

void FlushOutput() {
  std::string& pending = Pending();
  if (pending.empty()) return;
  WriteOrEnd(StandardOutputHandle(), pending);
  pending.clear();
}

void Out(std::string_view text) {
  std::string& pending = Pending();
  pending += text;
  if (pending.size() >= 16384) FlushOutput();
}

void WriteToHandle(void* handle, std::string_view text) {
  if (handle == StandardOutputHandle()) return Out(text);
  FlushOutput();
  WriteOrEnd(handle, text);
}

void Err(std::string_view text) { WriteToHandle(StandardErrorHandle(), text); }

}  // namespace tarnwick::cli
