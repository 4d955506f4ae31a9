// What every frame starts from: the frame clock and the aircraft as the host's
// variables give it.
#pragma once

#include <array>
#include <cstdint>

#include "host/step_clock.h"
#include "maths/geometry.h"
#include "platform/host_variables.h"

namespace varolen {

struct FrameClockRecord {
  StepClock clock;  // the multimedia clock at the last frame
  float step;       // seconds, at most 1.0, as the cameras count it
  double elapsed;   // seconds since the module was loaded; never reset
};

struct AircraftStateRecord {
  GeoPosition position;  // radians, radians, feet above sea level
  double pitch;          // degrees, as the host gives them
  double heading;
  double bank;
  Vec3 bodyVelocity;         // metres per second: x right, y up, z forward
  double groundElevation;    // feet
  double heightAboveGround;  // feet
  double track;              // degrees, [0, 360]
};

// The host variables looked up every frame, in look-up order.
enum FrameVariable {
  kLatitudeVariable,
  kLongitudeVariable,
  kAltitudeVariable,
  kHeadingVariable,
  kPitchVariable,
  kBankVariable,
  kUnusedVariable61,
  kSpeedVariable,
  kLongitudinalVelocityVariable,
  kLateralVelocityVariable,
  kVerticalVelocityVariable,
  kGroundElevationVariable,
  kWindVariable,
  kFrameVariableCount
};

extern FrameClockRecord FrameClock;
extern AircraftStateRecord AircraftState;
extern std::array<platform::ModuleVariable, kFrameVariableCount> FrameVariables;

// Before the warm-up is over only the clock runs.
inline constexpr double kWarmUpSeconds = 2.0;
// Below this height the approach view parks the observer.
inline constexpr double kApproachHeightFeet = 200.0;

// The frame's step at the clock reading `now`.
void AdvanceFrameClock(std::uint32_t now);

// Looks up the host variables and takes the aircraft's snapshot; false, and
// the snapshot as it was, while the host has not linked its variable look-up.
bool TakeAircraftSnapshot();

// The frame clock, the aircraft snapshot, the variable records, the fly-by and
// the approach anchor as a freshly loaded module has them.
void ResetCameraState();

}  // namespace varolen
