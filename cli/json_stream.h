// One JSON object written member by member as answers come, so that a run
// of any length holds no more than one answer: "{", one member per line,
// "}" at the end.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::cli {

class JsonObjectStream {
 public:
  // `value` null: the JSON null of a NAME that failed.
  void Member(std::string_view name, const std::string* value);
  // Ends the object; "{}" when no member came.
  void Close();
  bool Started() const { return started_; }

 private:
  bool started_ = false;
};

}  // namespace tarnwick::cli
