// A test fixture for the plug-in's core: a fresh host before each test, no
// table and the machine's firmware source after it.
#pragma once

#include <gtest/gtest.h>

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

}  // namespace tarnwick::testing
