// Head latency, ground jolts and buffeting, step by step.
#include "cockpit/head_motion.h"

#include <gtest/gtest.h>

#include "platform/random.h"
#include "platform/sim/sim_platform.h"

namespace varolen {
namespace {

class HeadMotion : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetPlatform();
    c_ = {};
    c_.TickStep = 0.1;
  }
  // One attitude change of the aircraft since the last update.
  void Change(Angles before, Angles now, double height) {
    c_.PrevAircraftAttitude = before;
    c_.AircraftAttitude = now;
    ApplyHeadLatency(c_, height);
  }
  CockpitControllerRecord c_;
};

TEST_F(HeadMotion, LatencyFollowsAttitudeChanges) {
  const struct {
    Angles before, now;
    double height, gain, viewHeading;
    Angles offset;
  } cases[] = {
      {{1, 100, 1}, {1, 101, 1}, 10, 1.0, 0, {0, 3, 0}},      // a turn swings the head three times into it
      {{1, 100, 1}, {1, 101, 1}, 5, 1.0, 0, {0, 0.6, 0}},     // less at or below 5 ft
      {{1, 359.5, 1}, {1, 0.5, 1}, 10, 0.5, 0, {0, 1.5, 0}},  // across north, the short way
      {{0, 10, 0}, {30, 10, 0}, 10, 1.0, 0, {-20, 0, 0}},     // clamped
      {{0, 10, 0}, {0, 10, 10}, 10, 1.0, 90, {10, 0, 0}},  // looking right, a bank change is a pitch change
      {{0, 0, 0}, {30, 10, 5}, 10, 1.0, 0, {0, 0, 0}},     // no earlier attitude yet
  };
  for (const auto& c : cases) {
    c_.LatencyOffset = {};
    c_.LatencyGain = c.gain;
    c_.ViewAngles.heading = c.viewHeading;
    Change(c.before, c.now, c.height);
    EXPECT_NEAR(c_.LatencyOffset.pitch, c.offset.pitch, 1e-9);
    EXPECT_NEAR(c_.LatencyOffset.heading, c.offset.heading, 1e-9);
    EXPECT_NEAR(c_.LatencyOffset.bank, c.offset.bank, 1e-9);
  }
  // Every update lets a tenth of the latency go.
  c_.LatencyOffset = {10, -10, 5};
  AdvanceTurbulence(c_);
  EXPECT_DOUBLE_EQ(c_.LatencyOffset.pitch, 9);
  EXPECT_DOUBLE_EQ(c_.LatencyOffset.bank, 4.5);
}

TEST_F(HeadMotion, AJoltUsesSevenDrawsInOrder) {
  // On the ground at 51.44 m/s (100 knots as this step counts it): full intensity.
  c_.GroundTurbGain = 1.0;
  DrawTurbulenceTargets(c_, 1.0, 100.0 / (0.00054 * 3600.0), 32767);
  // The first draws from seed 1: 41, 18467, 6334, 26500, 19169, 15724, 11478.
  const auto r = [](int draw) { return draw / 32767.0; };
  EXPECT_EQ(c_.TurbTimer, 0.05) << "r x (1 - 1) is below the shortest jolt";
  EXPECT_DOUBLE_EQ(c_.TurbTarget.pitch, (r(18467) * 200 - 100) / 20);
  EXPECT_DOUBLE_EQ(c_.TurbTarget.heading, (r(6334) * 50 - 25) / 20);
  EXPECT_DOUBLE_EQ(c_.TurbTarget.bank, (r(26500) * 50 - 25) / 20);
  EXPECT_DOUBLE_EQ(c_.TurbRate.pitch, r(19169) * 200 / 20);
  EXPECT_DOUBLE_EQ(c_.TurbRate.bank, r(11478) * 50 / 20);
  EXPECT_EQ(platform::Rand(), 29358) << "exactly seven draws";
  // The offset moves towards the target at its rate.
  AdvanceTurbulence(c_);
  EXPECT_DOUBLE_EQ(c_.TurbOffset.bank, c_.TurbRate.bank * 0.1);
}

TEST_F(HeadMotion, JoltStrengthComesFromSpeedOnTheGroundAndBuffetingInTheAir) {
  const struct {
    double onGround, speed, buffet, gain;
    double buffetLevel;  // afterwards; -1: as it was
    double timer;        // 0: drawn, not the minimum
    bool still;          // a = 0: target and rate 0
  } cases[] = {
      {0, 0, 0.3 * 32768, 1.0, 0.0, 0, true},          // at the threshold: no buffeting
      {0, 0, 0.3 * 32768 - 1, 1.0, 1.0, 0.05, false},  // just below: full
      {1, 0, 0, 1.0, -1, 0, true},                     // standstill on the ground
      {1, 60, 0, 2.0, -1, 0.05, false},                // a = 2: the shortest jolt
  };
  for (const auto& c : cases) {
    c_ = {};
    c_.TickStep = 0.1;
    c_.BuffetLevel = 0.5;
    c_.BuffetGain = c.gain;
    c_.GroundTurbGain = c.gain;
    c_.TurbOffset = {1, 1, 1};
    DrawTurbulenceTargets(c_, c.onGround, c.speed, c.buffet);
    EXPECT_EQ(c_.BuffetLevel, c.buffetLevel < 0 ? 0.5 : c.buffetLevel) << c.buffet;
    if (c.timer > 0) {
      EXPECT_EQ(c_.TurbTimer, c.timer);
    } else {
      EXPECT_GE(c_.TurbTimer, 0.05);
    }
    if (c.still) {
      AdvanceTurbulence(c_);  // the head stays where it was
      EXPECT_EQ(c_.TurbOffset.pitch, 1);
    }
  }
}

TEST_F(HeadMotion, NothingMovesWhileThePointerRestsOnAClickArea) {
  c_.CursorOverClickArea = 1;
  c_.LatencyGain = c_.GroundTurbGain = 1;
  c_.LatencyOffset = {5, 5, 5};
  AdvanceTurbulence(c_);
  DrawTurbulenceTargets(c_, 1, 50, 0);
  Change({1, 1, 1}, {9, 9, 9}, 100);
  EXPECT_EQ(c_.LatencyOffset.pitch, 5);
  EXPECT_EQ(c_.TurbTimer, 0);
}

}  // namespace
}  // namespace varolen
