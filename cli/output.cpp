#include "cli/output.h"

#include <cstdlib>
#include <string>

#include "cli/system.h"

namespace tarnwick::cli {
namespace {

std::string& Pending() {
  static std::string pending;
  return pending;
}

// Writes `text` or ends the process: what is left unwritten would be lost
// without a word, and a run that lost output must not read as success.
void WriteOrEnd(void* handle, std::string_view text) {
  std::string reason;
  const WriteOutcome outcome = WriteText(handle, text, &reason);
  if (outcome == WriteOutcome::kWritten) return;
  if (outcome == WriteOutcome::kFailed) {
    // Standard error may be what failed; then nothing is left to tell.
    std::string ignored;
    WriteText(StreamHandle(Stream::kError), "tarnwick: write error: " + reason + "\n", &ignored);
  }
  Pending().clear();
  std::exit(kWriteFailed);
}

}  // namespace

void FlushOutput() {
  std::string& pending = Pending();
  if (pending.empty()) return;
  WriteOrEnd(StreamHandle(Stream::kOutput), pending);
  pending.clear();
}

void Out(std::string_view text) {
  std::string& pending = Pending();
  pending += text;
  if (pending.size() >= 16384) FlushOutput();
}

void WriteToHandle(void* handle, std::string_view text) {
  if (handle == StreamHandle(Stream::kOutput)) return Out(text);
  FlushOutput();
  WriteOrEnd(handle, text);
}

void Err(std::string_view text) { WriteToHandle(StreamHandle(Stream::kError), text); }

}  // namespace tarnwick::cli
