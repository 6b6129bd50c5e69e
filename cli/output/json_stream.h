// One JSON object written member by member as answers come, so that a run
// of any length holds no more than one answer: "{", one member per line,
// "}" at the end.
#pragma once

#include <string>
#include <string_view>

#include "cli/names/seen_names.h"

namespace tarnwick::cli {

class JsonObjectStream {
 public:
  // `value` null: the JSON null of a NAME that failed. A name written
  // before is left out: the names of a JSON object are unique.
  void Member(std::string_view name, const std::string* value);
  // Room for `more` members to come (SeenNames::Expect).
  void Expect(size_t more) { written_.Expect(more); }
  // Ends the object; "{}" when no member came.
  void Close();
  bool Started() const { return started_; }

 private:
  bool started_ = false;
  SeenNames written_;
};

}  // namespace tarnwick::cli
