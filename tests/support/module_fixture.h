// A fresh module on a fresh simulated machine for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_platform.h"

namespace varolen::testing {

inline constexpr const char* kModulePath = "C:\\Flight Simulator 9\\Modules\\Varolen2004.dll";

// Clears every piece of module-lifetime state and the simulated platform.
void ResetModule();

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetModule(); }

  // A host main window with the host's four menu pop-ups, then start-up.
  sim::WindowHandle StartWithHostWindow(int menuPopups = 4);
};

// Index of the first event equal to `line`, or -1.
int EventIndex(const std::string& line);

}  // namespace varolen::testing
