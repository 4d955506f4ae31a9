// The controller's tick: its step from the multimedia clock.
#include "cockpit/cockpit_controller.h"

#include <gtest/gtest.h>

#include "support/module_fixture.h"

namespace varolen {
namespace {

class CockpitTick : public testing::ModuleTest {};

// The interval between the clock's readings, at most a second, after any
// uptime and across the clock's wrap after 49.7 days.
TEST_F(CockpitTick, TheStepIsTheIntervalOfTheReadingsAndAtMostASecond) {
  StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}}});
  testing::SetFlight({});
  const struct {
    const char* when;
    std::uint32_t reading;
    double step;
  } cases[] = {
      {"the first tick, 500 s after the clock's origin", 500000, 1.0},
      {"a frame later", 500016, 0.016},
      {"after 30 s with the internal view off", 530016, 1.0},
      {"ten days up", 864000000, 1.0},
      {"a frame later, ten days up", 864000017, 0.017},
      {"before the wrap", 4294967290u, 1.0},
      {"across the wrap", 6, 0.012},
  };
  for (const auto& c : cases) {
    sim::SetClock(c.reading);
    TickCockpitController(CockpitController);
    EXPECT_EQ(CockpitController.TickStep, c.step) << c.when;
  }
}

// A movement key latched while the ticks did not run moves the eye by a
// second's worth at most, not by the whole pause.
TEST_F(CockpitTick, AKeyLatchedDuringAPauseMovesTheEyeOneSecondAtMost) {
  StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}}});
  testing::SetFlight({});
  sim::SetClock(100000);
  TickCockpitController(CockpitController);
  const double before = CockpitController.EyePosition.z;
  CockpitController.PilotForward = 1;
  sim::SetClock(160000);
  TickCockpitController(CockpitController);
  EXPECT_EQ(CockpitController.EyePosition.z - before, 1.0);
}

}  // namespace
}  // namespace varolen
