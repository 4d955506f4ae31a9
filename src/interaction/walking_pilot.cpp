#include "interaction/walking_pilot.h"

#include <cmath>
#include <cstring>

#include "camera/numeric.h"
#include "cockpit/host_view.h"
#include "cockpit/view_math.h"
#include "cockpit/view_update.h"
#include "interaction/ground_probe.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"
#include "platform/host_variables.h"

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
constexpr double kMetresPerDegree = 111130.52399516014;
constexpr double kUnitsPerDegree = 11930464.711111;  // 2^32 per turn
constexpr int kShiftKey = 16;

// Fields of the view record that only the walking pilot writes.
constexpr std::uint32_t kAspectNumerator = 0;
constexpr std::uint32_t kAspectDenominator = 12;
constexpr std::uint32_t kPilotZoom = 52;
constexpr std::uint32_t kFirstPosition = 188;
constexpr std::uint32_t kSecondPosition = 224;
constexpr std::uint32_t kSubRecord = 280;
constexpr std::uint32_t kSubRecordSize = 304;

platform::ModuleVariable beginVariables[] = {{.id = 71}, {.id = 72}, {.id = 73}, {.id = 86}, {.id = 2}};

// A 32.32 fixed-point value: the integer word the low 32 bits of its whole
// part (the floor, so that negative values stay consistent), the fraction word
// the part above it.
void FixedPoint(double value, std::uint32_t& fraction, std::uint32_t& whole) {
  std::int64_t integer = 0;
  std::int64_t part = 0;
  const double floor = std::floor(value);
  if (!TruncateToInt64(floor, integer) || !TruncateToInt64((value - floor) * 4294967295.0, part)) {
    fraction = whole = 0;
    return;
  }
  whole = static_cast<std::uint32_t>(static_cast<std::uint64_t>(integer));
  fraction = static_cast<std::uint32_t>(part);
}

std::uint32_t TurnWord(double degrees) {
  std::int64_t value = 0;
  return TruncateToInt64(degrees / 360.0 * 4294967295.0, value) ? static_cast<std::uint32_t>(value) : 0;
}

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

void BeginPilotView(CockpitControllerRecord& c, HostAddress view) {
  for (platform::ModuleVariable& variable : beginVariables) platform::LookupFiniteHostVariable(variable);
  const DegreePosition aircraft = {beginVariables[0].Value() / kMetresPerDegree,
                                   beginVariables[1].Value() / 16777216.0 / 16777216.0 * 360.0,
                                   beginVariables[2].Value()};
  const double heading = beginVariables[3].Value();
  // 10 m to the left of the aircraft and 10 m ahead.
  Vec3 start = {-10.0, 0.0, 10.0};
  RotateHeading(start, heading * kDegreesToRadians);
  if (c.PilotPositionFromPreset == 0) {
    const DegreePosition placed = OffsetPositionDegrees(aircraft, start);
    c.PilotLatitude = placed.latitude;
    c.PilotLongitude = placed.longitude;
    c.PilotAltitude = placed.altitude;
  }
  platform::ReadHostBytes(view, c.SavedCameraRecord, kHostViewRecordSize);
  c.PilotViewEntered = 1;
  c.AircraftGroundAltitude = beginVariables[4].Value() / 256.0;
  if (c.PilotPositionFromPreset == 0) {
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
  c.PilotPositionFromPreset = 0;
}

void MovePilot(CockpitControllerRecord& c) {
  const double dt = c.TickStep;
  double speed = kWalkSpeed;
  if (c.PilotRunSpeed == 0.0) c.PilotRunSpeed = kDefaultRunSpeed;
  c.PilotRunning = platform::KeyHeld(kShiftKey) ? 1 : 0;
  if (c.PilotRunning != 0) speed = c.PilotRunSpeed;
  c.PilotForwardSpeed = c.PilotForward != 0 ? speed : (c.PilotBackward != 0 ? -speed : 0.0);
  c.PilotSideSpeed = c.PilotStepRight != 0 ? speed : (c.PilotStepLeft != 0 ? -speed : 0.0);
  if (c.PilotUp != 0) {
    c.PilotEyeHeight += speed * dt;
  } else if (c.PilotDown != 0) {
    c.PilotEyeHeight -= speed * dt;  // the floor applies at the next tick
  }
  if (std::fabs(c.PilotForwardSpeed) > 0.5 || std::fabs(c.PilotSideSpeed) > 0.5) {
    c.PilotHeadBob = std::sin(c.TickTime * 600.0 * kDegreesToRadians) * 0.03;
  } else {
    c.PilotHeadBob = 2.0 * dt * c.PilotHeadBob;
  }
  if (c.PilotHeadRight != 0) {
    c.PilotHeading += kHeadTurnRate * dt;
  } else if (c.PilotHeadLeft != 0) {
    c.PilotHeading -= kHeadTurnRate * dt;
  }
  if (c.PilotHeadUp != 0) {
    c.PilotHeadPitch -= kHeadPitchRate * dt;
    if (c.PilotHeadPitch < -kHeadPitchRate) c.PilotHeadPitch = -kHeadPitchRate;
  } else if (c.PilotHeadDown != 0) {
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
  ProbeGround(c, probe);
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
  if (!platform::HostWritable(sub, kSubRecordSize)) return;
  const double x = (eye.longitude + 180.0) / 360.0 * 0.75;
  const double y = (1.0 - (eye.latitude + 90.0) / 180.0) * 0.5;
  platform::WriteHost(sub + 160, eye.latitude);
  platform::WriteHost(sub + 168, eye.longitude);
  platform::WriteHost(sub + 176, eye.altitude / 1000.0);
  platform::WriteHost(sub + 280, x);
  platform::WriteHost(sub + 288, y);
  std::int64_t scaled = 0;
  if (TruncateToInt64(x * 1073741824.0, scaled))
    platform::WriteHost(sub + 296, static_cast<std::int32_t>(scaled));
  if (TruncateToInt64(y * 1073741824.0, scaled))
    platform::WriteHost(sub + 300, static_cast<std::int32_t>(scaled));
}

void WritePilotView(CockpitControllerRecord& c, HostAddress view, std::uint8_t* record) {
  const DegreePosition eye = {
      c.PilotLatitude, c.PilotLongitude,
      c.PilotAltitude + c.PilotHeadBob + (c.PilotCrouch != 0 ? kCrouchEyeHeight : c.PilotEyeHeight)};
  std::uint32_t position[6];
  EncodeHostPosition(eye, position);
  std::uint32_t orientation[3];
  EncodeHostOrientation(c.PilotPitch, c.PilotBank, c.PilotHeading, orientation);
  WriteIfWritable(c.HostViewPosition, position);
  WriteIfWritable(c.HostViewOrientation, orientation);
  std::memcpy(record + kFirstPosition, position, sizeof position);
  std::memcpy(record + kSecondPosition, position, sizeof position);

  const double h = c.PilotHeading * kDegreesToRadians;
  const double p = c.PilotHeadPitch * kDegreesToRadians;
  const Matrix4 eyeRotation = HeadingPitch(h, p);
  SetRecordField<std::int32_t>(record, field::kDirectionStep, 0);
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column) {
      SetRecordField(record, field::kMatrix + field::kMatrixRowStride * row + 4 * column,
                     eyeRotation.m[4 * row + column]);
    }
  }
  std::int64_t zoom = 0;
  if (TruncateToInt64(c.PilotZoom * 64.0, zoom))
    SetRecordField(record, kPilotZoom, static_cast<std::int16_t>(zoom));
  if (platform::HostWritable(view, kHostViewRecordSize))
    platform::WriteHostBytes(view, record, kHostViewRecordSize);

  const HostAddress sub = RecordField<std::uint32_t>(record, kSubRecord);
  if (sub != 0) WriteSubRecord(sub, eye);

  if (c.HostViewMatrix != 0) {
    const double aspect = static_cast<double>(RecordField<std::int32_t>(record, kAspectNumerator)) /
                          static_cast<double>(RecordField<std::int32_t>(record, kAspectDenominator));
    Matrix4 scale = {};
    scale.m[0] = 1.0f;
    scale.m[5] = static_cast<float>(aspect);
    scale.m[10] = static_cast<float>(0.5 / c.PilotZoom);
    scale.m[15] = 1.0f;
    const Matrix4 matrix = MultiplyMatrix(HeadingPitch(-h, -p), scale);
    WriteIfWritable(c.HostViewMatrix, matrix.m);
  }
}

}  // namespace

DegreePosition OffsetPositionDegrees(const DegreePosition& start, const Vec3& offset) {
  constexpr Vec3 kCentre = {0.0, 0.0, 0.0};
  Vec3 p = {offset.x, 6367310.0, offset.z};
  RotatePitch(p, -1.5707963267496);
  RotatePitch(p, start.latitude * kDegreesToRadians);
  RotateHeading(p, -start.longitude * kDegreesToRadians);
  RotateHeading(p, 3.1415926534992);
  const double bearing = -HorizontalBearing(kCentre, p);
  RotateHeading(p, bearing);
  return {-ElevationAngle(kCentre, p) * kRadiansToDegrees, WrapLongitude(bearing * kRadiansToDegrees),
          6367310.0};
}

void EncodeHostPosition(const DegreePosition& position, std::uint32_t (&words)[6]) {
  FixedPoint(position.latitude * kMetresPerDegree, words[0], words[1]);
  FixedPoint(position.longitude * kUnitsPerDegree, words[2], words[3]);
  FixedPoint(position.altitude, words[4], words[5]);
}

void EncodeHostOrientation(double pitch, double bank, double heading, std::uint32_t (&words)[3]) {
  words[0] = TurnWord(pitch);
  words[1] = TurnWord(bank);
  words[2] = TurnWord(heading);
}

int UpdateWalkingPilot(CockpitControllerRecord& c) {
  const HostAddress view = FindCurrentView(c);
  if (view == 0) return 0;
  if (c.PilotEyeHeight < kLeastEyeHeight) c.PilotEyeHeight = kLeastEyeHeight;
  if (c.PilotActive == 0) {
    if (c.PilotViewEntered == 1) {
      // The view as it was when the pilot stepped out.
      if (platform::HostWritable(view, kHostViewRecordSize)) {
        platform::WriteHostBytes(view, c.SavedCameraRecord, kHostViewRecordSize);
      }
      c.PilotViewEntered = 0;
    }
    return 1;
  }
  if (c.PilotViewEntered == 0) BeginPilotView(c, view);
  // Every frame starts from the record as it was when the pilot view began.
  std::uint8_t record[kHostViewRecordSize];
  std::memcpy(record, c.SavedCameraRecord, kHostViewRecordSize);
  SetRecordField<std::int32_t>(record, field::kKind, kWalkingPilotView);
  MovePilot(c);
  WritePilotView(c, view, record);
  return 1;
}

int SwitchToVirtualCockpit(CockpitControllerRecord& controller) {
  const HostAddress view = FindCurrentView(controller);
  if (view == 0) return 0;
  if (platform::HostWritable(view + field::kKind, 4))
    platform::WriteHost<std::int32_t>(view + field::kKind, kVirtualCockpitView);
  return 1;
}

}  // namespace varolen
