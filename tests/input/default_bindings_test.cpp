// The binding file a user gets binds every command, each to its own keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "input/commands.h"
#include "input/key_bindings.h"
#include "tracker/head_tracker.h"

namespace varolen {
namespace {

TEST(DefaultBindings, EveryCommandIsBoundOnce) {
  KeyBinding storage[kBindingCapacity];
  KeyBindingTable table = {kBindingCapacity, 0, storage};
  ASSERT_EQ(ReadKeyBindings(VAROLEN_SOURCE_DIR "/data/Varolen2004.cfg", "Keyboard", table), 1);
  std::set<std::string> commands;
  std::set<std::pair<std::int32_t, std::uint32_t>> keys;
  for (int index = 0; index < table.count; ++index) {
    const KeyBinding& binding = storage[index];
    EXPECT_TRUE(commands.insert(binding.commandName).second) << binding.commandName;
    EXPECT_TRUE(keys.insert({binding.keyCode, binding.modifiers}).second)
        << "key used twice: " << binding.commandName;
    EXPECT_NE(binding.keyCode, 0) << binding.commandName;
  }
  std::set<std::string> expected = {"ToggleFlyBy",
                                    "ToggleApproachView",
                                    "ToggleInternalView",
                                    "ToggleExternalView",
                                    "ToggleHeadLatency",
                                    "ToggleGroundTurbulence",
                                    "ToggleBuffeting",
                                    "ToggleMouseLook",
                                    "ToggleWheelZoom",
                                    "ToggleUseMouseInSpot",
                                    "ToggleHeadTracker",
                                    "CentreHeadTracker",
                                    "Setup",
                                    "LoadPreset",
                                    "PilotForward",
                                    "PilotBackward",
                                    "PilotStepLeft",
                                    "PilotStepRight",
                                    "PilotHeadLeft",
                                    "PilotHeadRight",
                                    "PilotHeadUp",
                                    "PilotHeadDown",
                                    "PilotUp",
                                    "PilotDown",
                                    "PilotCrouch"};
  for (int digit = 0; digit <= 9; ++digit) {
    expected.insert("SetCockpitView" + std::to_string(digit));
    expected.insert("CockpitView" + std::to_string(digit));
  }
  EXPECT_EQ(commands, expected);
  for (int index = 0; index < table.count; ++index) {
    const std::string name = storage[index].commandName;
    if (name.rfind("Pilot", 0) == 0) {
      EXPECT_EQ(storage[index].isDouble, 1) << name << " moves while held";
    }
  }
}

// The shipped file names every scale of the head tracker, at 1.
TEST(DefaultBindings, TheHeadTrackerScalesAreOne) {
  std::FILE* file = std::fopen(VAROLEN_SOURCE_DIR "/data/Varolen2004.cfg", "r");
  ASSERT_NE(file, nullptr);
  TrackerScales scales;
  scales.yaw = scales.pitch = scales.roll = scales.x = scales.y = scales.z = 7.0;
  ReadTrackerScales(file, scales);
  std::fclose(file);
  for (const double scale : {scales.yaw, scales.pitch, scales.roll, scales.x, scales.y, scales.z})
    EXPECT_EQ(scale, 1.0);
}

}  // namespace
}  // namespace varolen
