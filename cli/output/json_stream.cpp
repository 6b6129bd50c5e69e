#include "cli/output/json_stream.h"

#include <nlohmann/json.hpp>

#include "cli/output/output.h"

namespace tarnwick::cli {
namespace {

std::string JsonText(std::string_view text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void JsonObjectStream::Member(std::string_view name, const std::string* value) {
  if (!written_.Insert(name)) return;
  Out(started_ ? ",\n  " : "{\n  ");
  started_ = true;
  Out(JsonText(name) + ": " + (value != nullptr ? JsonText(*value) : "null"));
}

void JsonObjectStream::Close() { Out(started_ ? "\n}\n" : "{}\n"); }

}  // namespace tarnwick::cli
