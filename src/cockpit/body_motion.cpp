#include "cockpit/body_motion.h"

#include <algorithm>
#include <cmath>

#include "maths/geometry.h"

namespace varolen {

namespace {
BodyMotionRecord body;

constexpr double kGravity = 9.80665;  // metres per second squared
constexpr double kTwoPi = 2.0 * kPi;

// The touchdown: nothing below 1 ft/s of sink, a firm landing's 10 ft/s dips
// the eye 3 cm and nods the view 1.5 degrees at share 1, 30 ft/s and more
// three times that. The shake: 3.5 and 8 Hz, the envelope e^(-t / 0.5 s)
// (a twentieth left after 1.5 s), over after 2.5 s. A taxi over a bump is no
// touchdown: the wheels must have left the ground for half a second.
constexpr double kLeastSink = 1.0;   // feet per second
constexpr double kFirmSink = 10.0;   // feet per second
constexpr double kMostSink = 30.0;   // feet per second
constexpr double kDipMetres = 0.03;  // at a firm landing
constexpr double kNodDegrees = 1.5;
constexpr double kLeastAirborneSeconds = 0.5;
constexpr double kShakeDecaySeconds = 0.5;
constexpr double kShakeSeconds = 2.5;
constexpr double kLowHertz = 3.5, kHighHertz = 8.0;
constexpr double kLowShare = 0.7, kHighShare = 0.3;
// The shape's greatest value, 42 ms after the touchdown: the dip is scaled to it.
constexpr double kShapePeak = 0.7499988;

// The load: the eye follows the load factor through a spring of 0.5 Hz with
// a damping ratio of 0.47, 2 cm a g beyond 1 at share 1, 6 cm at most; the
// acceleration is filtered over a fifth of a second, below the jolts.
constexpr double kSpringHertz = 0.5;
constexpr double kDamping = 0.47;
constexpr double kMetresPerG = 0.02;
constexpr double kMostEyeMetres = 0.06;
constexpr double kFilterSeconds = 0.2;

double Shape(double seconds) {
  return std::exp(-seconds / kShakeDecaySeconds) *
         (kLowShare * std::sin(kTwoPi * kLowHertz * seconds) +
          kHighShare * std::sin(kTwoPi * kHighHertz * seconds)) /
         kShapePeak;
}

void FollowTouchdown(BodyMotionRecord& b, const BodyMotionInput& aircraft, double step) {
  if (b.shaking) {
    b.shakeSeconds += step;
    b.shaking = b.shakeSeconds < kShakeSeconds;
  }
  if (!aircraft.onGround) {
    b.airborneSeconds += step;
    b.sinkFeetPerSecond = -aircraft.up;
  } else if (!b.wasOnGround && b.airborneSeconds >= kLeastAirborneSeconds &&
             b.sinkFeetPerSecond >= kLeastSink) {
    b.shaking = true;  // a bounce plays it again
    b.shakeSeconds = 0.0;
    b.shakeSize = std::min(b.sinkFeetPerSecond, kMostSink) / kFirmSink;
  }
  if (aircraft.onGround) b.airborneSeconds = 0.0;
  b.wasOnGround = aircraft.onGround;
}

// The aircraft's axes in the world (north, east, up) for the host's attitude.
void Axes(const BodyMotionInput& aircraft, Vec3& forward, Vec3& right, Vec3& up) {
  const double h = aircraft.heading * kDegreesToRadians, p = -aircraft.pitch * kDegreesToRadians,
               b = aircraft.bank * kDegreesToRadians;
  forward = {std::cos(p) * std::cos(h), std::cos(p) * std::sin(h), std::sin(p)};
  const Vec3 levelRight = {-std::sin(h), std::cos(h), 0.0};
  const Vec3 levelUp = {-std::sin(p) * std::cos(h), -std::sin(p) * std::sin(h), std::cos(p)};
  // Banked left (positive) the right wing rises.
  right = {levelRight.x * std::cos(b) + levelUp.x * std::sin(b),
           levelRight.y * std::cos(b) + levelUp.y * std::sin(b),
           levelRight.z * std::cos(b) + levelUp.z * std::sin(b)};
  up = {levelUp.x * std::cos(b) - levelRight.x * std::sin(b),
        levelUp.y * std::cos(b) - levelRight.y * std::sin(b),
        levelUp.z * std::cos(b) - levelRight.z * std::sin(b)};
}

// One step of the damped spring toward `target`, exact for a target held over the step.
void Spring(double& position, double& speed, double target, double step) {
  const double omega = kTwoPi * kSpringHertz;
  const double damped = omega * std::sqrt(1.0 - kDamping * kDamping);
  const double decay = std::exp(-kDamping * omega * step);
  const double c = std::cos(damped * step), s = std::sin(damped * step);
  const double off = position - target;
  position = target + decay * (off * c + (speed + kDamping * omega * off) / damped * s);
  speed = decay * (speed * c - (omega * omega * off + kDamping * omega * speed) / damped * s);
}

void FollowLoad(BodyMotionRecord& b, const BodyMotionInput& aircraft, double step, double share) {
  Vec3 forward, right, up;
  Axes(aircraft, forward, right, up);
  const Vec3 velocity = {
      (forward.x * aircraft.forward + right.x * aircraft.side + up.x * aircraft.up) * kFeetToMetres,
      (forward.y * aircraft.forward + right.y * aircraft.side + up.y * aircraft.up) * kFeetToMetres,
      (forward.z * aircraft.forward + right.z * aircraft.side + up.z * aircraft.up) * kFeetToMetres};
  if (b.velocityKnown) {
    const double kept = std::exp(-step / kFilterSeconds);
    b.acceleration = {b.acceleration.x * kept + (velocity.x - b.lastVelocity.x) / step * (1.0 - kept),
                      b.acceleration.y * kept + (velocity.y - b.lastVelocity.y) / step * (1.0 - kept),
                      b.acceleration.z * kept + (velocity.z - b.lastVelocity.z) / step * (1.0 - kept)};
  }
  b.lastVelocity = velocity;
  b.velocityKnown = true;
  // What the seat pushes with: the acceleration against gravity. Its size
  // in the aircraft's plane of symmetry is the load factor (1 in any steady
  // flight, climbing or not, 2 in a level turn banked 60 degrees), negative
  // when it pushes the pilot out of the seat; across it, the side load.
  const Vec3 push = {b.acceleration.x, b.acceleration.y, b.acceleration.z + kGravity};
  const double upward = Dot(push, up), ahead = Dot(push, forward);
  const double load = std::hypot(upward, ahead) / kGravity;
  b.loadFactor = upward < 0.0 ? -load : load;
  b.sideLoad = Dot(push, right) / kGravity;
  if (!std::isfinite(b.loadFactor) || !std::isfinite(b.sideLoad)) {
    b = {};  // a host in trouble: start again
    return;
  }
  const double most = kMostEyeMetres;
  Spring(b.eye.y, b.eyeSpeed.y, std::clamp(-kMetresPerG * share * (b.loadFactor - 1.0), -most, most), step);
  Spring(b.eye.x, b.eyeSpeed.x, std::clamp(-kMetresPerG * share * b.sideLoad, -most, most), step);
  // Nor does the spring's swing carry it further.
  b.eye = {std::clamp(b.eye.x, -most, most), std::clamp(b.eye.y, -most, most), 0.0};
}

}  // namespace

const BodyMotionRecord& BodyMotion = body;

void RunBodyMotion(const BodyMotionInput& aircraft, double step, double touchdown, double loadFactor) {
  if (!(step > 0.0)) return;
  BodyMotionRecord& b = body;
  if (touchdown > 0.0) FollowTouchdown(b, aircraft, step);
  if (loadFactor > 0.0) FollowLoad(b, aircraft, step, loadFactor);
}

BodyMotionAdded BodyMotionNow(double touchdown, double loadFactor) {
  const BodyMotionRecord& b = body;
  BodyMotionAdded added = {};
  if (loadFactor > 0.0) added.eye = {b.eye.x, b.eye.y, 0.0};
  if (touchdown > 0.0 && b.shaking) {
    const double shake = touchdown * b.shakeSize * Shape(b.shakeSeconds);
    added.eye.y -= kDipMetres * shake;
    added.pitch = kNodDegrees * shake;
  }
  return added;
}

void ResetBodyMotion() { body = {}; }

}  // namespace varolen
