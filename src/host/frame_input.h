// What every frame starts from, read once at the frame message and handed
// down by the shell: the frame's clock and the aircraft as the host's
// variables give it, with the settings. Nothing below the shell reads the
// clock or looks up these variables on its own.
#pragma once

#include <cstdint>

#include "host/settings.h"
#include "host/step_clock.h"
#include "maths/geometry.h"

namespace varolen {

struct FrameClockRecord {
  StepClock clock;  // the multimedia clock at the last frame
  float step;       // seconds, at most 1.0, as the cameras count it
  double elapsed;   // seconds since the module was loaded; never reset
};

// The host's own numbers, as the panel SDK gives them (docs/host-facts.md),
// for the cockpit's steps that convert them their own way; taken only for the
// cockpit.
struct HostReadings {
  double latitude;         // 71, metres north of the equator
  double longitude;        // 72, 2^48 units a turn
  double altitude;         // 73, metres
  double groundElevation;  // 2, metres x 256
  Vec3 bodyVelocity;       // 552, 553, 551: feet per second, x right, y up, z forward
  double onGround;         // 60
  double buffet;           // 349
  double rudder;           // 786, radians
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
  double groundSpeed;        // metres per second
  double wind;               // knots
  HostReadings host;
  bool taken;  // false until a frame has looked the variables up
};

// One frame as every step sees it.
struct FrameInput {
  std::uint32_t now;  // the multimedia clock, milliseconds
  float step;         // seconds since the last frame, at most 1.0
  double elapsed;     // seconds since the module was loaded
  const AircraftStateRecord& aircraft;
  const CameraSettingsRecord& settings;
};

// The records as the last frame left them; only this file's functions change them.
extern const FrameClockRecord& FrameClock;
extern const AircraftStateRecord& AircraftState;

// Before the warm-up is over only the clock runs.
inline constexpr double kWarmUpSeconds = 2.0;

// The frame's step at the clock reading `now`.
const FrameClockRecord& AdvanceFrameClock(std::uint32_t now);

// Looks up the host variables and takes the aircraft's snapshot; false, and
// the snapshot as it was, while the host has not linked its variable look-up.
// The variables only the cockpit uses (on the ground, buffet, rudder) are
// looked up, and the host's readings taken, only `forTheCockpit`; otherwise
// they stay as they were.
bool TakeAircraftSnapshot(bool forTheCockpit);
// True once a frame has taken the aircraft's snapshot, past the warm-up: the
// module's named commands answer from then on.
bool AircraftSnapshotTaken();

// The frame clock, the aircraft snapshot and the variable records as a
// freshly loaded module has them.
void ResetFrameInput();

}  // namespace varolen
