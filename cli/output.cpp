#include "cli/output.h"

#include <string>

#include "cli/system.h"

namespace tarnwick::cli {
namespace {

std::string& Pending() {
  static std::string pending;
  return pending;
}

}  // namespace

void FlushOutput() {
  std::string& pending = Pending();
  if (pending.empty()) return;
  WriteText(StreamHandle(Stream::kOutput), pending);
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
  WriteText(handle, text);
}

void Err(std::string_view text) { WriteToHandle(StreamHandle(Stream::kError), text); }

}  // namespace tarnwick::cli
