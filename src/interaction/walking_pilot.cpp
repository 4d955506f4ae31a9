#include "interaction/walking_pilot.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "cockpit/cockpit_controller.h"
#include "cockpit/movement_keys.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/host_variables.h"
#include "host/keyboard.h"
#include "host/settings.h"
#include "interaction/ground_probe.h"
#include "interaction/mouse_look.h"
#include "maths/numeric.h"
#include "maths/view_math.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"
#include "tracker/head_tracker.h"

namespace varolen {

namespace {

namespace field = view_record;

constexpr double kLeastEyeHeight = 1.7;  // metres
constexpr double kCrouchEyeHeight = 0.75;
constexpr double kWalkSpeed = 2.0;  // metres per second
constexpr double kDefaultRunSpeed = 5.0;
constexpr double kHeadTurnRate = 90.0;   // degrees per second
constexpr double kHeadPitchRate = 60.0;  // degrees per second, and its limit
constexpr double kFallSpeed = 10.0;      // metres per second

// Heading times pitch, as the pilot's eye and (for -h, -p) the host's view matrix.
Matrix4 HeadingPitch(double heading, double pitch) {
  Matrix4 turn = {};
  Matrix4 tilt = {};
  for (std::size_t index = 0; index < 4; ++index) turn.m[5 * index] = tilt.m[5 * index] = 1.0f;
  turn.m[0] = turn.m[10] = static_cast<float>(std::cos(heading));
  turn.m[2] = static_cast<float>(-std::sin(heading));
  turn.m[8] = static_cast<float>(std::sin(heading));
  tilt.m[5] = tilt.m[10] = static_cast<float>(std::cos(pitch));
  tilt.m[6] = static_cast<float>(std::sin(pitch));
  tilt.m[9] = static_cast<float>(-std::sin(pitch));
  return MultiplyMatrix(turn, tilt);
}

template <typename Value>
void WriteIfWritable(HostAddress address, const Value& value) {
  if (address != 0 && platform::HostWritable(address, sizeof value))
    platform::WriteHostBytes(address, &value, sizeof value);
}

void BeginPilotView(WalkingPilotRecord& c, HostAddress view, const AircraftStateRecord& snapshot) {
  const HostReadings& host = snapshot.host;
  const DegreePosition aircraft = {
      host.latitude / kViewLatitudeMetresPerDegree,
      host.longitude / kLongitudeVariableUnitsStep / kLongitudeVariableUnitsStep * 360.0, host.altitude};
  const double heading = snapshot.heading;
  // 10 m to the left of the aircraft and 10 m ahead.
  Vec3 start = {-10.0, 0.0, 10.0};
  RotateHeading(start, heading * kDegreesToRadians);
  if (!c.PilotPositionFromPreset) {
    const DegreePosition placed = OffsetPositionDegrees(aircraft, start);
    c.PilotLatitude = placed.latitude;
    c.PilotLongitude = placed.longitude;
    c.PilotAltitude = placed.altitude;
  }
  platform::ReadHostBytes(view, c.SavedCameraRecord, kHostViewRecordSize);
  c.PilotViewEntered = true;
  c.AircraftGroundAltitude = host.groundElevation / kGroundElevationVariableUnitsPerMetre;
  if (!c.PilotPositionFromPreset) {
    c.PilotAltitude = c.AircraftGroundAltitude;
    c.PilotPitch = 0.0;
    c.PilotHeading = heading;
    c.PilotBank = 0.0;
    c.PilotHeadPitch = 0.0;
    c.PilotZoom = 1.0;
  }
  c.PilotHeadBob = 0.0;
  c.PilotForwardSpeed = 0.0;
  c.PilotSideSpeed = 0.0;
  c.PilotPositionFromPreset = false;
}

void MovePilot(WalkingPilotRecord& c, const CockpitTickRecord& tick) {
  const MovementKeysRecord& keys = MovementKeys;
  const double dt = tick.clock.step;
  double speed = kWalkSpeed;
  // A running speed of 0 means the default one.
  const double runSpeed = CameraSettings.RunningSpeed == 0.0 ? kDefaultRunSpeed : CameraSettings.RunningSpeed;
  c.PilotRunning = ShiftHeld();
  if (c.PilotRunning) speed = runSpeed;
  c.PilotForwardSpeed = keys.PilotForward ? speed : (keys.PilotBackward ? -speed : 0.0);
  c.PilotSideSpeed = keys.PilotStepRight ? speed : (keys.PilotStepLeft ? -speed : 0.0);
  if (keys.PilotUp) {
    c.PilotEyeHeight += speed * dt;
  } else if (keys.PilotDown) {
    c.PilotEyeHeight -= speed * dt;  // the floor applies at the next tick
  }
  if (std::fabs(c.PilotForwardSpeed) > 0.5 || std::fabs(c.PilotSideSpeed) > 0.5) {
    c.PilotHeadBob = std::sin(tick.TickTime * 600.0 * kDegreesToRadians) * 0.03;
  } else {
    // At a standstill the bob dies out; a tick of a quarter second or more
    // (a pause, a slideshow) halves it rather than letting it grow.
    c.PilotHeadBob = std::min(2.0 * dt, 0.5) * c.PilotHeadBob;
  }
  if (keys.PilotHeadRight) {
    c.PilotHeading += kHeadTurnRate * dt;
  } else if (keys.PilotHeadLeft) {
    c.PilotHeading -= kHeadTurnRate * dt;
  }
  if (keys.PilotHeadUp) {
    c.PilotHeadPitch -= kHeadPitchRate * dt;
    if (c.PilotHeadPitch < -kHeadPitchRate) c.PilotHeadPitch = -kHeadPitchRate;
  } else if (keys.PilotHeadDown) {
    c.PilotHeadPitch += kHeadPitchRate * dt;
    if (c.PilotHeadPitch > kHeadPitchRate) c.PilotHeadPitch = kHeadPitchRate;
  }

  DegreePosition next = {c.PilotLatitude, c.PilotLongitude, 0.0};
  if (c.PilotForwardSpeed != 0.0 || c.PilotSideSpeed != 0.0) {
    Vec3 step = {c.PilotSideSpeed * dt, 0.0, c.PilotForwardSpeed * dt};
    RotateHeading(step, c.PilotHeading * kDegreesToRadians);
    next = OffsetPositionDegrees({c.PilotLatitude, c.PilotLongitude, c.PilotAltitude}, step);
  }
  GroundProbe probe = ProbeAt(next.latitude, next.longitude);
  ProbeGround(probe);
  const double ground =
      probe.nearest < kNothingFound ? kProbeHeight - probe.nearest : c.AircraftGroundAltitude;
  c.PilotLatitude = next.latitude;
  c.PilotLongitude = next.longitude;
  // Onto anything at once; off an edge, falling.
  if (c.PilotAltitude <= ground) {
    c.PilotAltitude = ground;
  } else {
    c.PilotAltitude -= kFallSpeed * dt;
    if (c.PilotAltitude < ground) c.PilotAltitude = ground;
  }
}

void WriteSubRecord(HostAddress sub, const DegreePosition& eye) {
  namespace at = view_sub_record;
  if (!platform::HostWritable(sub, at::kSize)) return;
  const double x = (eye.longitude + 180.0) / 360.0 * 0.75;
  const double y = (1.0 - (eye.latitude + 90.0) / 180.0) * 0.5;
  platform::WriteHost(sub + at::kLatitude, eye.latitude);
  platform::WriteHost(sub + at::kLongitude, eye.longitude);
  platform::WriteHost(sub + at::kAltitude, eye.altitude / 1000.0);
  platform::WriteHost(sub + at::kMapX, x);
  platform::WriteHost(sub + at::kMapY, y);
  std::int32_t scaled = 0;
  if (EncodeTruncated(x * at::kMapFixedScale, scaled)) platform::WriteHost(sub + at::kMapXFixed, scaled);
  if (EncodeTruncated(y * at::kMapFixedScale, scaled)) platform::WriteHost(sub + at::kMapYFixed, scaled);
}

void WritePilotView(const WalkingPilotRecord& c, HostAddress view, std::uint8_t* record) {
  const MovementKeysRecord& keys = MovementKeys;
  const DegreePosition eye = {
      c.PilotLatitude, c.PilotLongitude,
      c.PilotAltitude + c.PilotHeadBob + (keys.PilotCrouch ? kCrouchEyeHeight : c.PilotEyeHeight)};
  // Each encoding starts from the words there: what cannot be encoded keeps its words.
  std::uint32_t position[6];
  if (HostDiscovery.HostViewPosition != 0 &&
      platform::HostWritable(HostDiscovery.HostViewPosition, sizeof position)) {
    platform::ReadHostBytes(HostDiscovery.HostViewPosition, position, sizeof position);
    EncodeHostPosition(eye, position);
    platform::WriteHostBytes(HostDiscovery.HostViewPosition, position, sizeof position);
  }
  std::uint32_t orientation[3];
  if (HostDiscovery.HostViewOrientation != 0 &&
      platform::HostWritable(HostDiscovery.HostViewOrientation, sizeof orientation)) {
    platform::ReadHostBytes(HostDiscovery.HostViewOrientation, orientation, sizeof orientation);
    EncodeHostOrientation(c.PilotPitch, c.PilotBank, c.PilotHeading, orientation);
    platform::WriteHostBytes(HostDiscovery.HostViewOrientation, orientation, sizeof orientation);
  }
  SetViewPosition(record, eye);

  // The pilot's own head turns and nods on top of the keys' and the mouse's,
  // beyond their limits but never past straight up or down.
  const TrackerOffset& head = HeadTracker.applied;
  const double h = (c.PilotHeading + head.heading) * kDegreesToRadians;
  const double p =
      std::clamp(c.PilotHeadPitch + head.pitch, -kMostViewPitch, kMostViewPitch) * kDegreesToRadians;
  SetViewRotation(record, HeadingPitch(h, p));
  SetViewZoom(record, field::kOutsideZoom, c.PilotZoom);
  if (platform::HostWritable(view, kHostViewRecordSize))
    platform::WriteHostBytes(view, record, kHostViewRecordSize);

  const HostAddress sub = platform::BlockField<std::uint32_t>(record, field::kSubRecord);
  if (sub != 0) WriteSubRecord(sub, eye);

  if (HostDiscovery.HostViewMatrix != 0) {
    const double aspect =
        static_cast<double>(platform::BlockField<std::int32_t>(record, field::kAspectNumerator)) /
        static_cast<double>(platform::BlockField<std::int32_t>(record, field::kAspectDenominator));
    Matrix4 scale = {};
    scale.m[0] = 1.0f;
    scale.m[5] = static_cast<float>(aspect);
    scale.m[10] = static_cast<float>(0.5 / c.PilotZoom);
    scale.m[15] = 1.0f;
    const Matrix4 matrix = MultiplyMatrix(HeadingPitch(-h, -p), scale);
    WriteIfWritable(HostDiscovery.HostViewMatrix, matrix.m);
  }
}

}  // namespace

DegreePosition OffsetPositionDegrees(const DegreePosition& start, const Vec3& offset) {
  constexpr Vec3 kCentre = {0.0, 0.0, 0.0};
  Vec3 p = {offset.x, kOffsetSphereRadius, offset.z};
  RotatePitch(p, -kQuarterTurnRadians);
  RotatePitch(p, start.latitude * kDegreesToRadians);
  RotateHeading(p, -start.longitude * kDegreesToRadians);
  RotateHeading(p, kHalfTurnRadians);
  const double bearing = -HorizontalBearing(kCentre, p);
  RotateHeading(p, bearing);
  return {-ElevationAngle(kCentre, p) * kRadiansToDegrees, WrapLongitude(bearing * kRadiansToDegrees),
          kOffsetSphereRadius};
}

namespace {
WalkingPilotRecord pilot;
}  // namespace

const WalkingPilotRecord& WalkingPilot = pilot;

namespace {

void StepPilot(const CockpitTickRecord& tick, const AircraftStateRecord& aircraft, HostAddress view) {
  WalkingPilotRecord& c = pilot;
  if (view == 0) return;
  if (c.PilotEyeHeight < kLeastEyeHeight) c.PilotEyeHeight = kLeastEyeHeight;
  if (!CameraSettings.ExternalViewActive) {
    if (c.PilotViewEntered) {
      // The view as it was when the pilot stepped out.
      if (platform::HostWritable(view, kHostViewRecordSize)) {
        platform::WriteHostBytes(view, c.SavedCameraRecord, kHostViewRecordSize);
      }
      c.PilotViewEntered = false;
    }
    return;
  }
  if (!c.PilotViewEntered) BeginPilotView(c, view, aircraft);
  // Every frame starts from the record as it was when the pilot view began.
  std::uint8_t record[kHostViewRecordSize];
  std::memcpy(record, c.SavedCameraRecord, kHostViewRecordSize);
  platform::SetBlockField<std::int32_t>(record, field::kKind, kWalkingPilotView);
  MovePilot(c, tick);
  WritePilotView(c, view, record);
}

}  // namespace

PilotGait UpdateWalkingPilot(const CockpitTickRecord& tick, const AircraftStateRecord& aircraft,
                             HostAddress view) {
  StepPilot(tick, aircraft, view);
  const MovementKeysRecord& keys = MovementKeys;
  const bool keyHeld = keys.PilotForward || keys.PilotBackward || keys.PilotStepRight || keys.PilotStepLeft;
  return {CameraSettings.ExternalViewActive && keyHeld, pilot.PilotRunning};
}

void TurnPilotHead(double heading, double pitch) {
  pilot.PilotHeading += heading;
  pilot.PilotHeadPitch += pitch;
}

void ZoomPilotView(double zoom) { pilot.PilotZoom = zoom; }

void PlacePilot(const DegreePosition& position, const Angles& orientation, double zoom) {
  WalkingPilotRecord& p = pilot;
  p.PilotPositionFromPreset = true;
  p.PilotLatitude = position.latitude;
  p.PilotLongitude = position.longitude;
  p.PilotAltitude = position.altitude;
  p.PilotPitch = orientation.pitch;
  p.PilotHeading = orientation.heading;
  p.PilotBank = orientation.bank;
  p.PilotZoom = zoom;
}

void ClearWalkingPilot() {
  // Zero bytes, padding and all, so that equal records are equal bytes.
  // All-zero bytes are 0.0 in IEEE 754 floats, the only kind the module runs on.
  // cppcheck-suppress memsetClassFloat
  std::memset(&pilot, 0, sizeof pilot);
}

int SwitchToVirtualCockpit() {
  const HostAddress view = FindCurrentView();
  if (view == 0) return 0;
  if (platform::HostWritable(view + field::kKind, 4))
    platform::WriteHost<std::int32_t>(view + field::kKind, kVirtualCockpitView);
  return 1;
}

}  // namespace varolen
