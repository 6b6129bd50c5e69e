// A test fixture for the plug-in's core: a fresh host before each test, no
// table after it; and a function called as the host calls it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/exports.h"
#include "tests/support/recording_host.h"

namespace tarnwick::testing {

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHostVariables();
    ClearRecorded();
  }
  void TearDown() override {
    ShutdownPlugin(0);
  }
};

// What a call left: its result, the buffer's text and standard error.
struct Outcome {
  int result;
  std::u16string text;
  std::u16string standard_error;
};

// Calls `function` with `argument` in a host buffer of kMaxArgLen units.
inline Outcome Call(NameExport function, const std::u16string& argument) {
  ClearRecorded();
  std::vector<char16_t> buffer(kMaxArgLen, 0);
  std::copy(argument.begin(), argument.end(), buffer.begin());
  const int result = function(buffer.data());
  return {result, std::u16string(buffer.data()), Recorded().standard_error};
}

// A call and what it must give: the result text, or the diagnostic.
struct CallCase {
  NameExport function;
  const char16_t* argument;
  const char16_t* expected;
};

// The call succeeds with exactly the expected text and no diagnostic.
inline void ExpectAnswered(const CallCase& c) {
  const Outcome outcome = Call(c.function, c.argument);
  EXPECT_EQ(outcome.result, 0) << Narrow(c.argument);
  EXPECT_EQ(outcome.text, c.expected) << Narrow(c.argument);
  EXPECT_EQ(outcome.standard_error, u"") << Narrow(c.argument);
}

// The call fails with -1, exactly its diagnostic, and the argument text
// still in the host's buffer.
inline void ExpectRefused(const CallCase& c) {
  const Outcome outcome = Call(c.function, c.argument);
  EXPECT_EQ(outcome.result, -1) << Narrow(c.argument);
  EXPECT_EQ(outcome.text, c.argument) << "the argument text stays in the buffer";
  EXPECT_EQ(outcome.standard_error, std::u16string(u"Tarnwick plugin: ") + c.expected) << Narrow(c.argument);
}

}  // namespace tarnwick::testing
