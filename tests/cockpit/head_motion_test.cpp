// Head latency, ground jolts and buffeting, step by step.
#include "cockpit/head_motion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cockpit/cockpit_controller.h"
#include "cockpit/view_update.h"
#include "host/settings.h"
#include "platform/random.h"
#include "platform/sim/sim_platform.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

// Ticks of a tenth of a second.
constexpr double kStep = 0.1;

class HeadMotionEffects : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetPlatform();
    Clear();
  }
  // The records as zero; the effects on at the given strength.
  static void Clear(double gain = 1.0) {
    ResetHeadMotion();
    testing::Switch(&CameraSettingsRecord::ViewTurbOn, true);
    testing::Switch(&CameraSettingsRecord::GroundTurbOn, true);
    testing::Switch(&CameraSettingsRecord::BuffetTurbOn, true);
    testing::StoreSetting("ViewTurbRate", gain);
    testing::StoreSetting("GroundTurbRate", gain);
    testing::StoreSetting("BuffetTurbRate", gain);
  }
  // One attitude change of the aircraft since the last update.
  static void Change(Angles before, Angles now, double height, double viewHeading) {
    TakeAircraftAttitude(before);
    KeepAircraftAttitude();
    TakeAircraftAttitude(now);
    ApplyHeadLatency(height, viewHeading, kStep);
  }
};

TEST_F(HeadMotionEffects, LatencyFollowsAttitudeChanges) {
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
    Clear(c.gain);
    Change(c.before, c.now, c.height, c.viewHeading);
    EXPECT_NEAR(HeadMotion.LatencyOffset.pitch, c.offset.pitch, 1e-9);
    EXPECT_NEAR(HeadMotion.LatencyOffset.heading, c.offset.heading, 1e-9);
    EXPECT_NEAR(HeadMotion.LatencyOffset.bank, c.offset.bank, 1e-9);
  }
}

// The Microsoft C runtime's generator, worked out here on its own.
std::vector<int> Draws(unsigned seed, int count) {
  std::vector<int> draws;
  for (int draw = 0; draw < count; ++draw) {
    seed = seed * 214013u + 2531011u;
    draws.push_back(static_cast<int>((seed >> 16) & 0x7FFF));
  }
  return draws;
}

TEST_F(HeadMotionEffects, AJoltUsesSevenDrawsInOrder) {
  const struct {
    unsigned seed;
    double gain;
    double intensity;  // ground speed over 100 knots, as this step counts knots
  } cases[] = {{1, 1.0, 1.0}, {7, 0.5, 0.5}, {12345, 1.5, 0.25}};
  for (const auto& c : cases) {
    Clear(c.gain);
    sim::SeedRandom(c.seed);
    DrawTurbulenceTargets(1.0, c.intensity * 100.0 / (0.00054 * 3600.0), 32767, kStep);
    const std::vector<int> draw = Draws(c.seed, 8);
    const auto r = [&draw](int index) { return draw[index] / 32767.0; };
    const double a = c.intensity * c.gain;  // the jolt's amount; targets scale by the rate once more
    EXPECT_DOUBLE_EQ(HeadMotion.TurbTimer, std::max(r(0) * (1 - a), 0.05)) << c.seed;
    EXPECT_DOUBLE_EQ(HeadMotion.TurbTarget.pitch, (r(1) * 200 - 100) * a * c.gain / 20) << c.seed;
    EXPECT_DOUBLE_EQ(HeadMotion.TurbTarget.heading, (r(2) * 50 - 25) * a * c.gain / 20) << c.seed;
    EXPECT_DOUBLE_EQ(HeadMotion.TurbTarget.bank, (r(3) * 50 - 25) * a * c.gain / 20) << c.seed;
    EXPECT_DOUBLE_EQ(HeadMotion.TurbRate.pitch, r(4) * 200 * a / 20) << c.seed;
    EXPECT_DOUBLE_EQ(HeadMotion.TurbRate.heading, r(5) * 50 * a / 20) << c.seed;
    EXPECT_DOUBLE_EQ(HeadMotion.TurbRate.bank, r(6) * 50 * a / 20) << c.seed;
    EXPECT_EQ(platform::Rand(), draw[7]) << "exactly seven draws";
  }
  // The offset moves towards the target at its rate.
  AdvanceTurbulence(kStep);
  EXPECT_DOUBLE_EQ(HeadMotion.TurbOffset.bank, HeadMotion.TurbRate.bank * 0.1);
}

TEST_F(HeadMotionEffects, JoltStrengthComesFromSpeedOnTheGroundAndBuffetingInTheAir) {
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
    Clear(c.gain);
    testing::Poke(HeadMotion).BuffetLevel = 0.5;
    testing::Poke(HeadMotion).TurbOffset = {1, 1, 1};
    DrawTurbulenceTargets(c.onGround, c.speed, c.buffet, kStep);
    EXPECT_EQ(HeadMotion.BuffetLevel, c.buffetLevel < 0 ? 0.5 : c.buffetLevel) << c.buffet;
    if (c.timer > 0) {
      EXPECT_EQ(HeadMotion.TurbTimer, c.timer);
    } else {
      EXPECT_GE(HeadMotion.TurbTimer, 0.05);
    }
    if (c.still) {
      AdvanceTurbulence(kStep);  // the head stays where it was
      EXPECT_EQ(HeadMotion.TurbOffset.pitch, 1);
    }
  }
}

}  // namespace
}  // namespace varolen
