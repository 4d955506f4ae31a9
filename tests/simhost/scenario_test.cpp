// Scenario files: what they mean, and the message a broken one gets.
#include "scenario.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "flight.h"
#include "support/module_fixture.h"

namespace simhost {
namespace {

std::string WriteScenario(const std::string& name, const std::string& text) {
  const auto path = varolen::testing::TestFolder() / (name + ".toml");
  std::ofstream(path) << text;
  return path.string();
}

TEST(Scenario, BrokenFilesAreNamedWithLineAndKey) {
  const struct {
    const char* text;
    const char* message;  // after "<file>:"
  } cases[] = {
      {"[run]\nduration = \"long\"\n", "2: run.duration: expected a number"},
      {"[run]\nduraton = 5\n", "2: run.duraton: unknown key"},
      {"[run]\nframe_rate = 0\n", "2: run.frame_rate: expected 1 to 1000 frames per second"},
      {"[[aircraft]]\ntime = 1\n[[aircraft]]\ntime = 1\n",
       "4: aircraft[1].time: keyframes must follow each other"},
      {"[[aircraft]]\nvelocity = [1, 2]\n", "2: aircraft[0].velocity: expected three numbers"},
      {"\n\n[[input]]\ntime = 1\nkey = \"NOSUCHKEY\"\n", "5: input[0].key: unknown key name 'NOSUCHKEY'"},
      {"[[input]]\ntime = 1\nkey = \"A\"\nwheel = 1\n", "1: input[0]: expected exactly one of"},
      {"[[input]]\nbutton_down = \"thumb\"\n", "2: input[0].button_down: expected left, right or middle"},
      {"[host]\ncurrent_view = 3\n", "2: host.current_view: no such view record"},
      {"[registry]\nFlyByActive = 1\n", "2: registry.FlyByActive: expected a text"},
      {"[run\nduration = 1\n", "1: "},  // not TOML at all
  };
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    const std::string path = WriteScenario("broken" + std::to_string(index), cases[index].text);
    std::string error;
    EXPECT_FALSE(LoadScenario(path, error).has_value()) << cases[index].text;
    EXPECT_EQ(error.rfind(path + ":" + cases[index].message, 0), 0u) << error;
  }
}

TEST(Scenario, MissingFileIsAnError) {
  std::string error;
  EXPECT_FALSE(LoadScenario("/nonexistent/scenario.toml", error).has_value());
  EXPECT_NE(error.find("/nonexistent/scenario.toml"), std::string::npos);
}

TEST(Scenario, InputsAreSortedByTimeAndKeysNamedAsInTheBindingFile) {
  const std::string path = WriteScenario("inputs", R"(
[[input]]
time = 2
key = "f1"
shift = true
[[input]]
time = 1
menu = "Sound on"
sent = true
[[input]]
time = 1.5
key_down = "NUMPAD_3"
)");
  std::string error;
  const auto scenario = LoadScenario(path, error);
  ASSERT_TRUE(scenario.has_value()) << error;
  ASSERT_EQ(scenario->inputs.size(), 3u);
  EXPECT_EQ(scenario->inputs[0].menuText, "Sound on");
  EXPECT_TRUE(scenario->inputs[0].sent);
  EXPECT_EQ(scenario->inputs[1].virtualKey, 0x63);
  EXPECT_EQ(scenario->inputs[2].virtualKey, 0x70);
  EXPECT_TRUE(scenario->inputs[2].shift);
  EXPECT_EQ(scenario->views.size(), 1u) << "a host always has a current view record";
}

TEST(Flight, PathIsInterpolatedAndHeldAtItsEnds) {
  Scenario scenario;
  scenario.path.resize(2);
  scenario.path[0] = {.time = 10, .altitude = 1000, .heading = 350, .onGround = true, .speed = 100};
  scenario.path[1] = {.time = 20, .altitude = 2000, .heading = 30, .onGround = false, .speed = 200};
  const struct {
    double time, altitude, heading, speed;
    bool onGround;
  } cases[] = {
      {0, 1000, 350, 100, true},  // before the first keyframe
      {15, 1500, 10, 150, true},  // heading the short way round; the flag holds
      {17.5, 1750, 20, 175, true},
      {25, 2000, 30, 200, false},  // after the last
  };
  for (const auto& c : cases) {
    const FlightState state = FlightStateAt(scenario, c.time);
    EXPECT_DOUBLE_EQ(state.altitude, c.altitude) << c.time;
    EXPECT_NEAR(state.heading, c.heading, 1e-9) << c.time;
    EXPECT_DOUBLE_EQ(state.speed, c.speed) << c.time;
    EXPECT_EQ(state.onGround, c.onGround) << c.time;
  }
}

TEST(Flight, HostVariablesComeBackAsTheModuleConvertsThem) {
  FlightState state{};
  state.latitude = 47.5;
  state.longitude = -122.25;
  state.altitude = 1000.0;
  state.groundElevation = 500.0;
  state.velocity[0] = 1.0;  // lateral
  state.velocity[1] = 2.0;  // vertical
  state.velocity[2] = 3.0;  // longitudinal
  // The module's own conversions back to degrees and feet.
  EXPECT_NEAR(HostVariable(state, 71) / 111130.0, 47.5, 1e-12);
  EXPECT_NEAR(HostVariable(state, 72) / 16777216.0 / 16777216.0 * 360.0, -122.25, 1e-12);
  EXPECT_NEAR(HostVariable(state, 73) * 3.28084, 1000.0, 1e-3);
  EXPECT_NEAR(HostVariable(state, 2) / 256.0 * 3.28084, 500.0, 1e-3);
  EXPECT_EQ(HostVariable(state, 552), 1.0);
  EXPECT_EQ(HostVariable(state, 553), 2.0);
  EXPECT_EQ(HostVariable(state, 551), 3.0);
  EXPECT_EQ(HostVariable(state, 9999), 0.0);
}

}  // namespace
}  // namespace simhost
