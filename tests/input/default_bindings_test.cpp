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
  std::set<std::pair<Command, std::int32_t>> commands;
  std::set<std::pair<std::int32_t, std::uint32_t>> keys;
  for (int index = 0; index < table.count; ++index) {
    const KeyBinding& binding = storage[index];
    EXPECT_TRUE(commands.insert({binding.command, binding.preset}).second) << binding.commandName;
    EXPECT_TRUE(keys.insert({binding.keyCode, binding.modifiers}).second)
        << "key used twice: " << binding.commandName;
    EXPECT_NE(binding.keyCode, 0) << binding.commandName;
    const bool movement = binding.command >= Command::PilotForward && binding.command <= Command::PilotDown;
    EXPECT_EQ(binding.isDouble, movement ? 1 : binding.isDouble)
        << binding.commandName << " moves while held";
  }
  // Every command, the presets' for each digit; the click commands and
  // TogglePilot stay unbound.
  std::set<std::pair<Command, std::int32_t>> expected;
  for (const CommandName& row : kCommandNames) {
    const bool unbound = row.command == Command::ButtonClickLeft ||
                         row.command == Command::ButtonClickRight || row.command == Command::TogglePilot;
    for (int preset = 0; !unbound && preset < (row.presetDigitAt < 0 ? 1 : 10); ++preset)
      expected.insert({row.command, preset});
  }
  EXPECT_EQ(commands, expected);
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
