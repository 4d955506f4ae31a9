#include "camera/aircraft_snapshot.h"

#include "camera/approach_view.h"
#include "camera/fly_by.h"
#include "host/host_variables.h"
#include "maths/numeric.h"

namespace varolen {

namespace {

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
};
static_assert(std::size(kFrameVariableSlots) == kFrameVariableCount &&
              SlotsInIndexOrder(kFrameVariableSlots));

}  // namespace

FrameClockRecord FrameClock;
AircraftStateRecord AircraftState;
std::array<platform::ModuleVariable, kFrameVariableCount> FrameVariables =
    FreshVariables(kFrameVariableSlots);

void AdvanceFrameClock(std::uint32_t now) {
  FrameClock.step = static_cast<float>(AdvanceClock(FrameClock.clock, now));
  FrameClock.elapsed += FrameClock.step;
}

bool TakeAircraftSnapshot() {
  for (platform::ModuleVariable& variable : FrameVariables) {
    if (!platform::LookupFiniteHostVariable(variable)) return false;
  }
  const auto value = [](FrameVariable variable) { return FrameVariables[variable].Value(); };
  AircraftStateRecord& aircraft = AircraftState;
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
  return true;
}

void ResetCameraState() {
  FrameClock = {};
  AircraftState = {};
  FrameVariables = FreshVariables(kFrameVariableSlots);
  FlyByCamera = {};
  ApproachAnchor = {};
}

}  // namespace varolen
