#include "host/frame_input.h"

#include <array>

#include "host/host_variables.h"
#include "maths/numeric.h"
#include "platform/host_variables.h"

namespace varolen {

namespace {

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
  // The cockpit's alone: the cameras outside need none of them.
  kOnGroundVariable,
  kBuffetVariable,
  kRudderVariable,
  kFrameVariableCount,
  kFirstCockpitVariable = kOnGroundVariable
};

constexpr HostVariableSlot<FrameVariable> kFrameVariableSlots[] = {
    {kLatitudeVariable, host_variable::kLatitude},
    {kLongitudeVariable, host_variable::kLongitude},
    {kAltitudeVariable, host_variable::kAltitude},
    {kHeadingVariable, host_variable::kHeading},
    {kPitchVariable, host_variable::kPitch},
    {kBankVariable, host_variable::kBank},
    {kUnusedVariable61, host_variable::kUnused61},
    {kSpeedVariable, host_variable::kGroundSpeed},
    {kLongitudinalVelocityVariable, host_variable::kLongitudinalSpeed},
    {kLateralVelocityVariable, host_variable::kLateralSpeed},
    {kVerticalVelocityVariable, host_variable::kVerticalSpeed},
    {kGroundElevationVariable, host_variable::kGroundElevation},
    {kWindVariable, host_variable::kWind},
    {kOnGroundVariable, host_variable::kOnGround},
    {kBuffetVariable, host_variable::kBuffet},
    {kRudderVariable, host_variable::kRudder},
};
static_assert(std::size(kFrameVariableSlots) == kFrameVariableCount &&
              SlotsInIndexOrder(kFrameVariableSlots));

FrameClockRecord frameClock;
AircraftStateRecord aircraftState;
std::array<platform::ModuleVariable, kFrameVariableCount> frameVariables =
    FreshVariables(kFrameVariableSlots);

}  // namespace

const FrameClockRecord& FrameClock = frameClock;
const AircraftStateRecord& AircraftState = aircraftState;

const FrameClockRecord& AdvanceFrameClock(std::uint32_t now) {
  frameClock.step = static_cast<float>(AdvanceClock(frameClock.clock, now));
  frameClock.elapsed += frameClock.step;
  return frameClock;
}

bool AircraftSnapshotTaken() { return aircraftState.taken; }

bool TakeAircraftSnapshot(bool forTheCockpit) {
  const std::size_t count = forTheCockpit ? kFrameVariableCount : kFirstCockpitVariable;
  for (std::size_t index = 0; index < count; ++index) {
    if (!platform::LookupFiniteHostVariable(frameVariables[index])) return false;
  }
  const auto value = [](FrameVariable variable) { return frameVariables[variable].Value(); };
  AircraftStateRecord& aircraft = aircraftState;
  aircraft.position.latitude =
      value(kLatitudeVariable) / kLatitudeVariableMetresPerDegree * kDegreesToRadians;
  aircraft.position.longitude = value(kLongitudeVariable) / kLongitudeVariableUnitsStep /
                                kLongitudeVariableUnitsStep * 360.0 * kDegreesToRadians;
  aircraft.position.altitude = value(kAltitudeVariable) * kMetresToFeet;
  aircraft.pitch = value(kPitchVariable);
  aircraft.heading = value(kHeadingVariable);
  aircraft.bank = value(kBankVariable);
  aircraft.bodyVelocity = {value(kLateralVelocityVariable) * kFeetToMetres,
                           value(kVerticalVelocityVariable) * kFeetToMetres,
                           value(kLongitudinalVelocityVariable) * kFeetToMetres};
  aircraft.groundElevation =
      value(kGroundElevationVariable) / kGroundElevationVariableUnitsPerMetre * kMetresToFeet;
  aircraft.heightAboveGround = aircraft.position.altitude - aircraft.groundElevation;
  constexpr Vec3 kStill = {0.0, 0.0, 0.0};
  aircraft.track = NormalizeDegrees(HorizontalBearing(kStill, aircraft.bodyVelocity) * kRadiansToDegrees +
                                    aircraft.heading);
  aircraft.groundSpeed = value(kSpeedVariable);
  aircraft.wind = value(kWindVariable);
  if (forTheCockpit) {
    aircraft.host = {value(kLatitudeVariable),
                     value(kLongitudeVariable),
                     value(kAltitudeVariable),
                     value(kGroundElevationVariable),
                     {value(kLateralVelocityVariable), value(kVerticalVelocityVariable),
                      value(kLongitudinalVelocityVariable)},
                     value(kOnGroundVariable),
                     value(kBuffetVariable),
                     value(kRudderVariable)};
  }
  aircraft.taken = true;
  return true;
}

void ResetFrameInput() {
  frameClock = {};
  aircraftState = {};
  frameVariables = FreshVariables(kFrameVariableSlots);
}

}  // namespace varolen
