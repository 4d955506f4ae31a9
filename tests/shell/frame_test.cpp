// The per-frame update: its clock, the warm-up, the aircraft snapshot and the
// settings it clears.
#include "shell/frame.h"

#include <gtest/gtest.h>

#include <cmath>

#include "camera/approach_view.h"
#include "host/frame_input.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "input/binding_matcher.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using testing::Flight;
using testing::RunFrameAt;
using testing::SetFlight;

class FrameUpdate : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    StartWithHost();
  }
};

// The module's named commands answer once the warm-up is over; a key bound
// to one reaches the host before.
TEST_F(FrameUpdate, WarmUpLastsTenFramesOfATenthOfASecond) {
  SetFlight({});
  testing::BindKeys({"ToggleFlyBy=F1"});
  const sim::WindowHandle main = platform::FindTopLevelWindow("FS98MAIN");
  const auto pressF1 = [main] {
    const bool consumed = sim::TakeThroughHooks(main, kKeyDown, 0x70).message == 0;
    sim::TakeThroughHooks(main, kKeyUp, 0x70);
    return consumed;
  };
  // The first step is clamped to 1.0 s; then 1.1 ... 1.9 s; the eleventh frame reaches 2.0 s.
  for (int frame = 1; frame <= 10; ++frame) {
    RunFrameAt(100000 + 100 * frame);
    EXPECT_EQ(sim::HostVariableLookups(), 0u) << "frame " << frame;
  }
  EXPECT_EQ(FrameClock.elapsed, 1.0 + 9 * static_cast<double>(0.1f));
  EXPECT_FALSE(pressF1()) << "the host's key while the module warms up";
  RunFrameAt(100000 + 1100);
  // One look-up of each variable the module reads (docs/host-facts.md lists
  // 16); on the ground, buffet and rudder only for the module's cockpit view.
  EXPECT_EQ(sim::HostVariableLookups(), 13u);
  EXPECT_TRUE(pressF1());
  testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
  RunFrameAt(100000 + 1200);
  // A key's press and release may each move the view between frames: each
  // looks the aircraft up afresh.
  EXPECT_EQ(sim::HostVariableLookups(), 13u + 2 * 16u + 16u);
}

// The step is the interval, at most a second. The clock counts milliseconds
// since Windows started, for days on end, and wraps after 2^32 ms: the step
// is the real interval all the same.
TEST_F(FrameUpdate, StepsAreTheExactIntervalAtMostASecond) {
  const struct {
    const char* when;
    std::uint32_t before, after;
    float step;
  } cases[] = {
      {"three seconds", 50000, 53000, 1.0f},         {"a second and one", 53000, 54001, 1.0f},
      {"just under a second", 54001, 55000, 0.999f}, {"no time", 55000, 55000, 0.0f},
      {"4.7 hours up", 16777217, 16777250, 0.033f},  {"a day up", 86400000, 86400016, 0.016f},
      {"ten days up", 864000000, 864000017, 0.017f}, {"near the wrap", 4294000000u, 4294000016u, 0.016f},
      {"across the wrap", 4294967290u, 6, 0.012f},   {"at the wrap", 4294967295u, 0, 0.001f},
  };
  for (const auto& c : cases) {
    RunFrameAt(c.before);
    const double before = FrameClock.elapsed;
    RunFrameAt(c.after);
    EXPECT_EQ(FrameClock.step, c.step) << c.when;
    EXPECT_EQ(FrameClock.elapsed, before + static_cast<double>(c.step)) << c.when;
  }
}

TEST_F(FrameUpdate, WithoutThePanelTableOnlyTheClockRuns) {
  sim::SetHostVariablesLinked(false);
  SetFlight({});
  for (int frame = 0; frame < 40; ++frame) RunFrameAt(10000 + 100 * frame);
  EXPECT_GT(FrameClock.elapsed, 4.0);
  EXPECT_EQ(ApproachAnchor.set, 0);
  EXPECT_EQ(testing::ReadObserver().latitude, 0.0);
}

TEST_F(FrameUpdate, TakesTheAircraftSnapshot) {
  Flight flight;
  flight.latitude = 47.5;
  flight.longitude = -122.25;
  flight.altitude = 1500;
  flight.ground = 500;
  flight.heading = 90;
  flight.pitch = -5;
  flight.forward = 100;
  flight.lateral = 100;  // sliding right: the track is 45 degrees right of the heading
  SetFlight(flight);
  RunFrameAt(1000);
  RunFrameAt(3000);
  const AircraftStateRecord& aircraft = AircraftState;
  EXPECT_NEAR(aircraft.position.latitude, 47.5 * 0.01745329251944, 1e-12);
  EXPECT_NEAR(aircraft.position.longitude, -122.25 * 0.01745329251944, 1e-12);
  // Feet to the host's metres and back by the module's 3.28084.
  EXPECT_NEAR(aircraft.position.altitude, 1500 * 0.3048 * 3.28084, 1e-9);
  EXPECT_NEAR(aircraft.heightAboveGround, 1000 * 0.3048 * 3.28084, 1e-9);
  EXPECT_EQ(aircraft.pitch, -5);
  EXPECT_NEAR(aircraft.bodyVelocity.x, 30.48, 1e-12);
  EXPECT_NEAR(aircraft.bodyVelocity.z, 30.48, 1e-12);
  EXPECT_NEAR(aircraft.track, 135.0, 1e-6);
}

TEST_F(FrameUpdate, TheWalkingPilotEndsAboveThirtyFeetOrWithoutTheCockpitView) {
  const double exactly30 = 30.0 / 3.28084;  // metres that the module turns into 30.0 feet exactly
  ASSERT_EQ(exactly30 * 3.28084, 30.0);
  const struct {
    double heightMetres;
    std::int32_t internal;
    std::int32_t externalAfter;
  } cases[] = {
      {exactly30, 1, 1},
      {30.01 / 3.28084, 1, 0},
      {0.0, 0, 0},
      {0.0, 1, 1},
  };
  std::uint32_t clock = 1000;
  RunFrameAt(clock);
  for (const auto& c : cases) {
    sim::SetHostVariable(73, c.heightMetres);  // altitude, metres
    sim::SetHostVariable(2, 0.0);              // ground at sea level
    testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
    testing::Switch(&CameraSettingsRecord::InternalViewActive, c.internal);
    RunFrameAt(clock += 3000);
    EXPECT_EQ(CameraSettings.ExternalViewActive, c.externalAfter) << c.heightMetres << ' ' << c.internal;
  }
}

TEST_F(FrameUpdate, WarmUpStillClearsTheWalkingPilotWithoutTheCockpitView) {
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  testing::Switch(&CameraSettingsRecord::InternalViewActive, false);
  RunFrameAt(1000);
  EXPECT_EQ(CameraSettings.ExternalViewActive, 0);
  EXPECT_EQ(sim::HostVariableLookups(), 0u);
}

}  // namespace
}  // namespace varolen
