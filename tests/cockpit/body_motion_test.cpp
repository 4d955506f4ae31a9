// What the body feels: the touchdown's shake and the eye on the load factor,
// against numbers worked out by hand from the flights, at four frame rates.
#include "cockpit/body_motion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace varolen {
namespace {

constexpr int kRates[] = {20, 30, 60, 144};

// The eye's height after a touchdown at `sink` feet per second (share 1),
// a row a frame from the touchdown on, for three seconds.
std::vector<double> Touchdown(double sink, int rate) {
  ResetBodyMotion();
  const double step = 1.0 / rate;
  for (int frame = 0; frame < rate; ++frame) RunBodyMotion({.up = -sink}, step, 1.0, 0.0);  // a second aloft
  std::vector<double> heights;
  for (int frame = 0; frame < 3 * rate; ++frame) {
    RunBodyMotion({.onGround = true}, step, 1.0, 0.0);
    heights.push_back(BodyMotionNow(1.0, 0.0).eye.y);
  }
  return heights;
}

double Magnitude(const std::vector<double>& values, int rate, double hertz) {
  std::complex<double> sum = 0.0;
  for (std::size_t index = 0; index < values.size(); ++index)
    sum += values[index] * std::polar(1.0, -2.0 * M_PI * hertz * static_cast<double>(index) / rate);
  return std::abs(sum);
}

// A firm landing (10 ft/s) dips the eye 3 cm at once, a shake of 3.5 and 8 Hz
// that is under a tenth of its size after 1.5 s; 3 ft/s dips it 9 mm, 40 ft/s
// as 30 (the limit), 0.8 ft/s not at all.
TEST(BodyMotion, ATouchdownDipsTheEyeByTheSinkRate) {
  const struct {
    double sink;
    double dip;  // metres
  } cases[] = {{10, 0.03}, {3, 0.009}, {40, 0.09}, {0.8, 0.0}};
  for (const int rate : kRates) {
    for (const auto& c : cases) {
      const std::vector<double> heights = Touchdown(c.sink, rate);
      const double lowest = *std::min_element(heights.begin(), heights.end());
      // Frames sample the 42 ms peak within 5% at these rates.
      EXPECT_NEAR(-lowest, c.dip, 0.05 * c.dip + 1e-12) << c.sink << " ft/s at " << rate;
    }
    const std::vector<double> firm = Touchdown(10, rate);
    double late = 0;
    for (std::size_t frame = static_cast<std::size_t>(1.5 * rate); frame < firm.size(); ++frame)
      late = std::max(late, std::fabs(firm[frame]));
    EXPECT_LT(late, 0.003) << "a tenth of the dip after 1.5 s, at " << rate;
    // Peaks of the spectrum at 3.5 and 8 Hz, over the valleys beside them.
    const auto at = [&](double hertz) { return Magnitude(firm, rate, hertz); };
    EXPECT_GT(at(3.5), 1.5 * at(1.0)) << rate;
    EXPECT_GT(at(3.5), at(5.5)) << rate;
    EXPECT_GT(at(8.0), at(6.0)) << rate;
    if (rate > 20) {
      EXPECT_GT(at(8.0), 1.5 * at(11.0)) << rate;
    }
  }
}

// Rolling over a bump (the wheels aloft a fifth of a second) is no touchdown;
// a bounce (half a second aloft and more) is one again.
TEST(BodyMotion, ABounceShakesAgainAndABumpDoesNot) {
  for (const double aloft : {0.2, 0.6}) {
    ResetBodyMotion();
    for (int frame = 0; frame < 60; ++frame) RunBodyMotion({.onGround = true}, 1.0 / 30, 1.0, 0.0);
    for (int frame = 0; frame < aloft * 30; ++frame) RunBodyMotion({.up = -6}, 1.0 / 30, 1.0, 0.0);
    RunBodyMotion({.onGround = true}, 1.0 / 30, 1.0, 0.0);
    EXPECT_EQ(BodyMotion.shaking, aloft > 0.5) << aloft;
  }
}

// The load factor from the flight: in a steady level turn banked 60 degrees
// (turning at g tan 60 / V) it is 1 / cos 60 = 2, and the eye settles 2 cm
// down at share 1; climbing steadily it is 1 and the eye stays; turning flat
// (a skid, wings level) at r radians a second the side load is V r / g and the
// eye settles against it. The same at any frame rate.
TEST(BodyMotion, TheEyeSettlesByTheLoadFactor) {
  constexpr double kFeetPerSecond = 200, kSpeed = kFeetPerSecond * 0.3048, kG = 9.80665;
  const double turn = kG * std::tan(M_PI / 3) / kSpeed * 180 / M_PI;  // degrees a second, to the left
  const double skid = 5.0;                                            // degrees a second, to the right
  const struct {
    const char* what;
    double pitch, bank, turnRate;  // host signs: nose down, left wing down; degrees a second clockwise
    double load, side, eyeY, eyeX;
  } cases[] = {
      {"a level turn banked 60 degrees", 0, 60, -turn, 2.0, 0.0, -0.02, 0.0},
      {"a steady climb", -10, 0, 0, 1.0, 0.0, 0.0, 0.0},
      {"a flat turn", 0, 0, skid, 1.0, kSpeed * skid * M_PI / 180 / kG, 0.0,
       -0.02 * kSpeed * skid * M_PI / 180 / kG},
  };
  for (const int rate : kRates) {
    for (const auto& c : cases) {
      ResetBodyMotion();
      for (int frame = 0; frame < 20 * rate; ++frame) {
        const double heading = std::fmod(360.0 + c.turnRate * frame / rate, 360.0);
        RunBodyMotion({.pitch = c.pitch, .bank = c.bank, .heading = heading, .forward = kFeetPerSecond},
                      1.0 / rate, 0.0, 1.0);
      }
      EXPECT_NEAR(std::sqrt(BodyMotion.loadFactor * BodyMotion.loadFactor), c.load, 0.01 * c.load)
          << c.what << rate;
      EXPECT_NEAR(BodyMotion.sideLoad, c.side, 0.01) << c.what << " at " << rate;
      const BodyMotionAdded added = BodyMotionNow(0.0, 1.0);
      EXPECT_NEAR(added.eye.y, c.eyeY, 0.0005) << c.what << " at " << rate;
      EXPECT_NEAR(added.eye.x, c.eyeX, 0.0005) << c.what << " at " << rate;
    }
  }
}

// The spring of 0.5 Hz with a damping ratio of 0.47: a step of load overshoots
// by e^(-pi 0.47 / sqrt(1 - 0.47^2)) = 19% a second after it (half the damped
// period of 1 / (0.5 sqrt(1 - 0.47^2)) s), and the eye is held within 6 cm.
TEST(BodyMotion, TheEyeRidesASpringOfHalfAHertz) {
  const double damped = 0.5 * std::sqrt(1 - 0.47 * 0.47);
  const double overshoot = std::exp(-M_PI * 0.47 / std::sqrt(1 - 0.47 * 0.47));
  for (const int rate : kRates) {
    ResetBodyMotion();
    // Level, then a pull at 3 g: the nose rises at 2 g / V.
    constexpr double kFeetPerSecond = 200, kSpeed = kFeetPerSecond * 0.3048, kG = 9.80665;
    const double pitchRate = 2 * kG / kSpeed * 180 / M_PI;
    double lowest = 0, lowestAt = 0;
    for (int frame = 0; frame < 8 * rate; ++frame) {
      const double seconds = static_cast<double>(frame) / rate;
      const double pull = std::max(0.0, seconds - 1.0);
      RunBodyMotion({.pitch = -pitchRate * pull, .forward = kFeetPerSecond}, 1.0 / rate, 0.0, 1.0);
      const double eye = BodyMotionNow(0.0, 1.0).eye.y;
      if (eye < lowest) lowest = eye, lowestAt = seconds;
      if (seconds > 60.0 / pitchRate) break;  // the nose 60 degrees up: still pulling 3 g
    }
    // 3 g: the eye's target 4 cm down, its lowest 19% beyond; the filter of
    // the acceleration delays it a little.
    EXPECT_NEAR(-lowest, 0.04 * (1 + overshoot), 0.003) << rate;
    EXPECT_NEAR(lowestAt - 1.0, 1.0 / (2 * damped), 0.25) << rate;
  }
  ResetBodyMotion();
  for (int frame = 0; frame < 300; ++frame)
    RunBodyMotion({.bank = 85, .heading = 0.0 - frame, .forward = 400}, 0.02, 0.0, 2.0);
  EXPECT_GE(BodyMotionNow(0.0, 2.0).eye.y, -0.06 - 1e-12) << "held within 6 cm";
}

}  // namespace
}  // namespace varolen
