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

}  // namespace
}  // namespace simhost
