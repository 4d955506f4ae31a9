// The motion options: the effects in time at any frame rate, the transition
// curves, yielding to the pilot's look, the level head and the look into the turn.
#include "cockpit/motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

#include "cockpit/head_motion.h"
#include "cockpit/view_update.h"
#include "host/host_discovery.h"
#include "host/settings.h"
#include "platform/random.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

TEST(MotionOptionsFile, EachOptionIsReadAndHeldInItsRange) {
  const MotionOptionsRecord none = DefaultMotionOptions();
  const struct {
    std::string text;
    MotionOptionsRecord options;
  } cases[] = {
      {"SameAtAnyFrameRate=1\nTransitionSeconds=1,5\nTransitionCurve=Smooth\nYieldToLook=0.5\nLevelHead=1\n"
       "LevelHeadLimit=10\nLookIntoTurn=0.25\nLookIntoTurnLimit=30\nTouchdown=1,5\nLoadFactor=0.5\n",
       {true, 1.5, TransitionCurve::Smooth, 0.5, 1.0, 10.0, 0.25, 30.0, 1.5, 0.5}},
      {"TransitionSeconds=9\nYieldToLook=2\nLevelHead=-1\nLevelHeadLimit=90\nLookIntoTurnLimit=-5\n"
       "Touchdown=3\nLoadFactor=-1\n",
       {false, 3.0, TransitionCurve::Linear, 1.0, 0.0, 45.0, 0.0, 0.0, 2.0, 0.0}},
      {"TransitionSeconds=0\nSameAtAnyFrameRate=0\nLoadFactor=7\n",
       {false, 0.2, TransitionCurve::Linear, 0, 0, 20, 0, 15, 0, 2}},
      {"TransitionSeconds=abc\nTransitionCurve=wobbly\nLevelHead=nan\nSameAtAnyFrameRate=\n", none},
  };
  for (const auto& c : cases) {
    const std::string text = "[Keyboard]\nLevelHead=1\n[Motion]\n" + c.text;
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    MotionOptionsRecord options = DefaultMotionOptions();
    ReadMotionOptions(file, options);
    std::fclose(file);
    const auto fields = [](const MotionOptionsRecord& o) {
      return std::tuple(o.sameAtAnyFrameRate, o.transitionSeconds,
                        o.transitionCurve == TransitionCurve::Smooth, o.yieldToLook, o.levelHead,
                        o.levelHeadLimit, o.lookIntoTurn, o.lookIntoTurnLimit, o.touchdown, o.loadFactor);
    };
    EXPECT_EQ(fields(options), fields(c.options)) << c.text;
  }
}

class Motion : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetPlatform();
    ResetMotion();
    frame_ = 0;
    ResetHeadMotion();
    testing::Switch(&CameraSettingsRecord::ViewTurbOn, true);
    testing::Switch(&CameraSettingsRecord::GroundTurbOn, true);
    testing::StoreSetting("ViewTurbRate", 1.0);
    testing::StoreSetting("GroundTurbRate", 1.0);
  }
  // The head motion's frames of `seconds` more at `rate` a second, the
  // aircraft turning right at `turnRate` degrees a second from the second frame on.
  void Fly(int rate, double seconds, double turnRate, double groundSpeed = 0.0) {
    const double step = 1.0 / rate;
    for (const long end = frame_ + std::lround(seconds * rate); frame_ < end; ++frame_) {
      AdvanceTurbulence(step);
      TakeAircraftAttitude({1.0, 100.0 + turnRate * static_cast<double>(frame_) / rate, 0.0});
      DrawTurbulenceTargets(1.0, groundSpeed, 32767, step);
      ApplyHeadLatency(100.0, 0.0, step);
      KeepAircraftAttitude();
    }
  }
  long frame_ = 0;
};

// Into a 3 degree a second turn the head swings three times the turn a frame,
// a tenth of it let go a frame: 3 degrees at 30 frames a second, 2.38 after
// half a second (1 - 0.9^15). In time it is so at any rate; frame by frame it
// settles at 90 degrees times the frame's time, the sooner the more frames.
TEST_F(Motion, InTimeTheHeadLagsTheSameAtAnyFrameRate) {
  const struct {
    int rate;
    bool inTime;
    double atHalfSecond, settled;
  } cases[] = {
      {20, true, 2.382, 3.0},  {30, true, 2.382, 3.0},  {60, true, 2.382, 3.0},  {144, true, 2.382, 3.0},
      {20, false, 2.931, 4.5}, {30, false, 2.382, 3.0}, {60, false, 1.436, 1.5}, {144, false, 0.625, 0.625},
  };
  for (const auto& c : cases) {
    SetUp();
    testing::SetMotion("SameAtAnyFrameRate", c.inTime ? 1 : 0);
    Fly(c.rate, 0.5 + 1.0 / c.rate, 3.0);
    EXPECT_NEAR(HeadMotion.LatencyOffset.heading, c.atHalfSecond, 0.001 * c.atHalfSecond) << c.rate;
    Fly(c.rate, 5.0, 3.0);
    EXPECT_NEAR(HeadMotion.LatencyOffset.heading, c.settled, 0.001 * c.settled) << c.rate;
  }
}

// Each jolt lasts its drawn wait whatever the frames: after two seconds of
// taxiing the same jolts were drawn and the head is where they put it.
TEST_F(Motion, InTimeTheJoltsAreTheSameAtAnyFrameRate) {
  Angles at30{};
  for (const int rate : {30, 20, 60, 144}) {
    SetUp();
    testing::SetMotion("SameAtAnyFrameRate", 1);
    sim::SeedRandom(5);
    Fly(rate, 2.0, 0.0, 20.0);
    if (rate == 30) at30 = HeadMotion.TurbOffset;
    EXPECT_NEAR(HeadMotion.TurbOffset.pitch, at30.pitch, 1e-9) << rate;
    EXPECT_NEAR(HeadMotion.TurbOffset.bank, at30.bank, 1e-9) << rate;
    EXPECT_NE(HeadMotion.TurbOffset.pitch, 0.0);
  }
}

class MotionOnTheView : public testing::ModuleTest {
 protected:
  void Start(double heading, double zoom) {
    StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}, .zoom = zoom, .heading = heading}});
    testing::SetFlight({});
    DiscoverHostModules();
    Frame(0.02);
  }
  static void Frame(double step) {
    testing::Poke(CockpitTick).clock.step = step;
    testing::Poke(CockpitTick).TickTime += step;
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  }
  static void Recall(Angles angles, double zoom) {
    MoveCockpitViewTo({CockpitViewState.TargetEyePosition, angles, zoom}, false, false);
  }
};

// Smooth: 10u^3 - 15u^4 + 6u^5 of the way at the share u of the time, the
// short way round, the zoom halfway at the geometric mean.
TEST_F(MotionOnTheView, ASmoothRecallStartsAndStopsAtRestTheShortWay) {
  const struct {
    double from, to, fromZoom, toZoom, midHeading, midZoom;
  } cases[] = {{350, 10, 1, 4, 0, 2}, {10, 350, 4, 1, 0, 2}, {0, 90, 1, 1, 45, 1}};
  for (const auto& c : cases) {
    Start(c.from, c.fromZoom);
    SetMotionOption(MotionOptions, "TransitionCurve", "smooth");
    testing::SetMotion("TransitionSeconds", 1.0);
    Recall({0, c.to, 0}, c.toZoom);
    const double way = std::remainder(c.to - c.from, 360.0);
    double heading = c.from, speed = 0.0, mostSpeed = 0.0, biggestChange = 0.0;
    for (int frame = 1; frame <= 60; ++frame) {
      Frame(0.02);
      const double now = std::remainder(CockpitViewState.ViewAngles.heading - heading, 360.0) / 0.02;
      biggestChange = std::max(biggestChange, std::fabs(now - speed));
      speed = now;
      mostSpeed = std::max(mostSpeed, std::fabs(speed));
      heading = CockpitViewState.ViewAngles.heading;
      if (frame == 1) {
        EXPECT_NEAR(speed, 0.0, 0.01 * std::fabs(way)) << "starts at rest";
      }
      if (frame == 25) {
        EXPECT_NEAR(std::remainder(heading - c.midHeading, 360.0), 0.0, 1e-5) << c.from;
        EXPECT_NEAR(CockpitViewState.Zoom, c.midZoom, 1e-9) << c.from;
      }
      if (frame == 50) {
        EXPECT_NEAR(speed, 0.0, 0.05 * std::fabs(way)) << "stops at rest";
      }
    }
    EXPECT_NEAR(mostSpeed, 1.875 * std::fabs(way), 0.01 * std::fabs(way));
    EXPECT_LT(biggestChange, 0.1 * mostSpeed) << "no step in speed";
    EXPECT_NEAR(std::remainder(heading - c.to, 360.0), 0.0, 1e-9);
    EXPECT_EQ(CockpitViewState.Zoom, c.toZoom);
  }
}

// Turning the view faster than 30 degrees a second fades the effects out in
// 0.2 s; once still for 0.3 s they come back over 0.5 s.
TEST_F(Motion, TheEffectsYieldToALookAndComeBack) {
  testing::SetMotion("YieldToLook", 0.75);
  const struct {
    double seconds, turnRate, share;
  } steps[] = {{0.1, 0, 1.0},  {0.1, 60, 0.625}, {0.1, 60, 0.25}, {0.2, 60, 0.25},
               {0.2, 0, 0.25}, {0.35, 0, 0.625}, {0.3, 0, 1.0}};
  double heading = 0.0;
  for (const auto& step : steps) {
    for (int frame = 0; frame < std::lround(step.seconds / 0.01); ++frame) {
      heading += step.turnRate * 0.01;
      RunMotionOptions({0, heading, 0}, {}, 0.01);
    }
    EXPECT_NEAR(WithMotionOptions({4, 8, 2}, 0).heading, 8 * step.share, 0.02 * 8) << step.seconds;
  }
}

// A level head rolls against the bank, at most its limit, 63% of the way
// after 0.3 s, and lets go from 60 to 90 degrees of bank; the view leads by
// two seconds' turn, at most its limit, less from 60 degrees of pitch on; on
// the ground below 30 knots by the nose wheel's turn: about the main wheels,
// on a circle of wheelbase / tan(rudder), here 20 m.
TEST_F(Motion, TheHeadLevelsAndLooksIntoTheTurn) {
  constexpr double kKnots = 1852.0 / 3600.0;
  const double steering = std::atan(1.65 / 20.0);                 // radians of rudder for a 20 m circle
  const double steeringRate = 10 * kKnots / 20.0 * 180.0 / M_PI;  // degrees a second at 10 knots
  const struct {
    double levelHead, lookIntoTurn, pitch, bank, turnRate, rudder, knots, viewHeading;
    bool onGround;
    Angles settled;
  } cases[] = {
      {0.5, 0, 0, 30, 0, 0, 100, 0, false, {0, 0, -15}},
      {0.5, 0, 0, -60, 0, 0, 100, 0, false, {0, 0, 20}},  // the limit
      {0.5, 0, 0, 75, 0, 0, 100, 0, false, {0, 0, -10}},  // half faded
      {0.5, 0, 0, 120, 0, 0, 100, 0, false, {0, 0, 0}},   // beyond 90: no roll
      {0.5, 0, 0, -175, 0, 0, 100, 0, false, {0, 0, 0}},  // inverted: none either
      {1.0, 0, 0, 10, 0, 0, 100, 90, false, {10, 0, 0}},  // looking right, the bank is the horizon's pitch
      {0, 0.5, 0, 0, 3, 0, 100, 0, false, {0, 3, 0}},
      {0, 1.0, 0, 0, -10, 0, 100, 0, false, {0, -15, 0}},  // the limit
      {0, 0.5, -75, 0, 3, 0, 100, 0, false, {0, 1.5, 0}},  // nose 75 up: half faded
      {0, 0.5, 89, 0, 3, 0, 100, 0, false, {0, 0.1, 0}},   // nearly straight down: a thirtieth
      {0, 0.25, 0, 0, 0, steering, 10, 0, true, {0, steeringRate * 0.5, 0}},  // steering
      {0, 0.25, 0, 0, 0, -steering, 10, 0, true, {0, -steeringRate * 0.5, 0}},
      {0, 1.0, 0, 0, 4, steering, 40, 0, true, {0, 8, 0}},   // rolling fast: the heading
      {0, 1.0, 0, 0, 4, steering, 0.5, 0, true, {0, 0, 0}},  // standing: nothing
  };
  for (const auto& c : cases) {
    SetUp();
    testing::SetMotion("LevelHead", c.levelHead);
    testing::SetMotion("LookIntoTurn", c.lookIntoTurn);
    const double settled = c.settled.bank + c.settled.heading + c.settled.pitch;
    for (int frame = 0; frame <= 500; ++frame) {
      if (frame == 30) {
        const Angles early = WithMotionOptions({}, c.viewHeading);
        EXPECT_NEAR(early.bank + early.heading + early.pitch, (1 - std::exp(-1.0)) * settled,
                    0.02 * std::fabs(settled));
      }
      RunMotionOptions(
          {}, {c.pitch, c.bank, c.turnRate * frame / 100.0, c.onGround, c.knots * kKnots, c.rudder}, 0.01);
    }
    const Angles added = WithMotionOptions({}, c.viewHeading);
    EXPECT_NEAR(added.pitch, c.settled.pitch, 1e-3) << c.bank << " " << c.turnRate;
    EXPECT_NEAR(added.heading, c.settled.heading, 1e-3) << c.pitch << " " << c.turnRate;
    EXPECT_NEAR(added.bank, c.settled.bank, 1e-3) << c.bank << " " << c.turnRate;
  }
}

}  // namespace
}  // namespace varolen
