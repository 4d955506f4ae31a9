// The simulator folder a run lays out: nothing an earlier run left behind
// may change the next flight.
#include "simulator_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/module_fixture.h"

namespace simhost {
namespace {

std::string Text(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SimulatorFolder, WhatAnEarlierRunLeftIsGone) {
  const auto folder = varolen::testing::TestFolder() / "simulator";
  const auto sounds = varolen::testing::TestFolder() / "sounds";
  std::filesystem::create_directories(sounds);
  std::ofstream(sounds / "Walk.wav") << "walk";
  PrepareSimulatorFolder(
      folder, {.module = std::nullopt, .bindings = "[Keyboard]\nToggleFlyBy=F\n", .sounds = sounds});
  std::ofstream(folder / "Views.vrv") << "View.0=0,1,2,3,4,5,6,1\n";

  PrepareSimulatorFolder(folder, {.module = std::nullopt, .bindings = std::nullopt, .sounds = sounds});
  EXPECT_FALSE(std::filesystem::exists(folder / "Varolen2004.cfg")) << "a stale binding file";
  EXPECT_FALSE(std::filesystem::exists(folder / "Views.vrv")) << "a stale view file";
  EXPECT_EQ(Text(folder / "Varolen" / "Sound" / "Walk.wav"), "walk");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Modules"));

  PrepareSimulatorFolder(folder,
                         {.module = std::nullopt, .bindings = "[Keyboard]\n", .sounds = std::nullopt});
  EXPECT_EQ(Text(folder / "Varolen2004.cfg"), "[Keyboard]\n");
}

}  // namespace
}  // namespace simhost
