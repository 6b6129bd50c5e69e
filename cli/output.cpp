#include "cli/output.h"

#include <string>

#include "cli/system.h"

namespace tarnwick::cli {
namespace {

std::u16string& Pending() {
  static std::u16string pending;
  return pending;
}

}  // namespace

void FlushOutput() {
  std::u16string& pending = Pending();
  if (pending.empty()) return;
  WriteText(StreamHandle(Stream::kOutput), pending.data(), pending.size());
  pending.clear();
}

void Out(std::u16string_view text) {
  std::u16string& pending = Pending();
  pending += text;
  if (pending.size() >= 16384) FlushOutput();
}

void WriteToHandle(void* handle, std::u16string_view text) {
  if (handle == StreamHandle(Stream::kOutput)) return Out(text);
  FlushOutput();
  WriteText(handle, text.data(), text.size());
}

void Err(std::u16string_view text) { WriteToHandle(StreamHandle(Stream::kError), text); }

}  // namespace tarnwick::cli
