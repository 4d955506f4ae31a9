#include "cockpit/head_motion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "cockpit/motion.h"
#include "host/settings.h"
#include "maths/geometry.h"
#include "maths/view_math.h"
#include "platform/random.h"

namespace varolen {

namespace {
HeadMotionRecord head;

constexpr double kLatencyDecay = 0.9;
constexpr double kTunedFrameRate = 30.0;  // in time, the effects are as they are frame by frame at this rate
constexpr int kMostJoltsInAStep = 32;     // a second's step holds 20 at most
constexpr double kShortestJolt = 0.05;    // seconds
constexpr double kLatencyLimit = 20.0;    // degrees
// Close to the ground the head lags less.
constexpr double kLowHeightFeet = 5.0;
constexpr double kLowHeightLatency = 0.2;
// Below this share of the host's buffeting range the airframe buffets.
constexpr double kBuffetThreshold = 0.3;

double Draw() { return platform::Rand() / 32767.0; }

// An effect's strength: its rate while it is switched on.
double Gain(std::int32_t on, double rate) { return on != 0 ? rate : 0.0; }

void ApproachTurbulence(double step) {
  HeadMotionRecord& controller = head;
  ApproachValue(controller.TurbOffset.pitch, controller.TurbTarget.pitch, controller.TurbRate.pitch, step);
  ApproachValue(controller.TurbOffset.heading, controller.TurbTarget.heading, controller.TurbRate.heading,
                step);
  ApproachValue(controller.TurbOffset.bank, controller.TurbTarget.bank, controller.TurbRate.bank, step);
}

// The next jolt's wait, target and rate: the seven draws.
void DrawJolt(double onGround, double speed, double buffet) {
  HeadMotionRecord& controller = head;
  double intensity = 0.0;
  double rate = 0.0;
  if (onGround != 0.0) {
    // Ground speed in knots, full intensity at 100.
    intensity = std::clamp(speed * 0.00054 * 3600.0 / 100.0, 0.0, 1.0);
    rate = Gain(CameraSettings.GroundTurbOn, CameraSettings.GroundTurbRate);
  } else {
    const double share = buffet / 32768.0;
    intensity = std::clamp(share < kBuffetThreshold ? (1.0 - share) * 1.5 : 0.0, 0.0, 1.0);
    controller.BuffetLevel = intensity;
    rate = Gain(CameraSettings.BuffetTurbOn, CameraSettings.BuffetTurbRate);
  }
  const double amount = intensity * rate;

  // The seven draws, in this order.
  controller.TurbTimer = std::max(Draw() * (1.0 - amount), kShortestJolt);
  Angles& target = controller.TurbTarget;
  target.pitch = (Draw() * 200.0 - 100.0) * amount * rate;
  target.heading = (Draw() * 50.0 - 25.0) * amount * rate;
  target.bank = (Draw() * 50.0 - 25.0) * amount * rate;
  Angles& speedOfJolt = controller.TurbRate;
  speedOfJolt.pitch = Draw() * 200.0 * amount;
  speedOfJolt.heading = Draw() * 50.0 * amount;
  speedOfJolt.bank = Draw() * 50.0 * amount;
  for (double* value : {&target.pitch, &target.heading, &target.bank, &speedOfJolt.pitch,
                        &speedOfJolt.heading, &speedOfJolt.bank}) {
    *value /= 20.0;
  }
}

// Measured in time, the latency decays as it does in a frame of 30 a second.
// The decay and the latency's input take the same power of a tick's step:
// it is worked out once.
double LatencyDecay(double step) {
  HeadMotionRecord& motion = head;
  if (step != motion.DecayStep || motion.Decay == 0.0) {
    motion.DecayStep = step;
    motion.Decay = std::pow(kLatencyDecay, kTunedFrameRate * step);
  }
  return motion.Decay;
}

}  // namespace

const HeadMotionRecord& HeadMotion = head;

void AdvanceTurbulence(double step) {
  HeadMotionRecord& controller = head;
  const bool inTime = MotionOptions.sameAtAnyFrameRate;
  // In time, the jolts move on with their draws (DrawTurbulenceTargets).
  if (!inTime) ApproachTurbulence(step);
  const double decay = inTime ? LatencyDecay(step) : kLatencyDecay;
  controller.LatencyOffset.pitch *= decay;
  controller.LatencyOffset.heading *= decay;
  controller.LatencyOffset.bank *= decay;
}

void DrawTurbulenceTargets(double onGround, double speed, double buffet, double step) {
  HeadMotionRecord& controller = head;
  if (!MotionOptions.sameAtAnyFrameRate) {
    controller.TurbTimer -= step;
    if (controller.TurbTimer < 0.0) DrawJolt(onGround, speed, buffet);
    return;
  }
  // In time: each jolt is followed until its wait runs out, then the next is
  // drawn, as many as fall into the step (a jolt waits 0.05 s at least).
  double left = step;
  for (int draws = 0; draws < kMostJoltsInAStep; ++draws) {
    const double slice = std::min(left, controller.TurbTimer);
    ApproachTurbulence(slice);
    controller.TurbTimer -= slice;
    left -= slice;
    if (controller.TurbTimer > 0.0) return;
    DrawJolt(onGround, speed, buffet);
  }
}

void ApplyHeadLatency(double heightAboveGround, double lookHeading, double step) {
  HeadMotionRecord& controller = head;
  const Angles& now = controller.AircraftAttitude;
  const Angles& before = controller.PrevAircraftAttitude;
  if (before.pitch == 0.0 && before.heading == 0.0 && before.bank == 0.0) return;
  double gain = Gain(CameraSettings.ViewTurbOn, CameraSettings.ViewTurbRate);
  if (MotionOptions.sameAtAnyFrameRate) {
    // In time the head settles as far behind a steady turn at any frame rate
    // as at 30 a second: a tenth of a change kept each frame of a thirtieth.
    gain *= step > 0.0 ? (1.0 - LatencyDecay(step)) / ((1.0 - kLatencyDecay) * kTunedFrameRate * step)
                       : -std::log(kLatencyDecay) / (1.0 - kLatencyDecay);
  }
  const double nearGround = heightAboveGround <= kLowHeightFeet ? kLowHeightLatency : 1.0;
  // Pitch and bank changes are re-expressed for a pilot who looks sideways; a
  // turn swings the head three times as far into it.
  Vec3 change = {AngleDifference(now.pitch, before.pitch) * gain * nearGround,
                 AngleDifference(now.heading, before.heading) * gain * nearGround * -3.0,
                 AngleDifference(now.bank, before.bank) * gain * nearGround};
  RotateHeading(change, -lookHeading * kDegreesToRadians);
  Angles& latency = controller.LatencyOffset;
  latency.pitch = std::clamp(latency.pitch - change.x, -kLatencyLimit, kLatencyLimit);
  latency.heading = std::clamp(latency.heading - change.y, -kLatencyLimit, kLatencyLimit);
  latency.bank = std::clamp(latency.bank - change.z, -kLatencyLimit, kLatencyLimit);
}

void TakeAircraftAttitude(const Angles& attitude) { head.AircraftAttitude = attitude; }

void KeepAircraftAttitude() { head.PrevAircraftAttitude = head.AircraftAttitude; }

void ResetHeadMotion() {
  // cppcheck-suppress memsetClassFloat
  std::memset(&head, 0, sizeof head);
}

}  // namespace varolen
