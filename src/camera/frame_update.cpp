#include "camera/frame_update.h"

#include <initializer_list>

#include "camera/approach_view.h"
#include "camera/fly_by.h"
#include "camera/observer.h"
#include "cockpit/cockpit_controller.h"
#include "host/host_variables.h"
#include "host/settings.h"
#include "input/commands.h"
#include "maths/numeric.h"
#include "platform/clock.h"
#include "sound/sound_effects.h"

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
    {kSpeedVariable, host_variable::kAirspeed},
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

namespace {

// Sounds start only once the module has run a while.
constexpr double kSoundStartSeconds = 5.0;

// The step is the difference of the exact readings: exact to the millisecond
// after days of uptime, and right across the clock's wrap after 49.7 days.
void AdvanceFrameClock() {
  const std::uint32_t now = platform::TimeGetTime();
  float step = static_cast<float>(static_cast<std::uint32_t>(now - FrameClock.previousReading) / 1000.0);
  FrameClock.previousReading = now;
  if (step > 1.0f) step = 1.0f;
  FrameClock.step = step;
  FrameClock.elapsed += step;
}

// False while the host has not linked its variable look-up.
bool LookUpFrameVariables() {
  for (platform::ModuleVariable& variable : FrameVariables) {
    if (!platform::LookupFiniteHostVariable(variable)) return false;
  }
  return true;
}

void TakeAircraftSnapshot() {
  const auto value = [](FrameVariable variable) { return FrameVariables[variable].Value(); };
  AircraftStateRecord& aircraft = AircraftState;
  aircraft.position.latitude =
      value(kLatitudeVariable) / kLatitudeVariableMetresPerDegree * kDegreesToRadians;
  aircraft.position.longitude =
      value(kLongitudeVariable) / kLongitudeUnitsStep / kLongitudeUnitsStep * 360.0 * kDegreesToRadians;
  aircraft.position.altitude = value(kAltitudeVariable) * kMetresToFeet;
  aircraft.pitch = value(kPitchVariable);
  aircraft.heading = value(kHeadingVariable);
  aircraft.bank = value(kBankVariable);
  aircraft.bodyVelocity = {value(kLateralVelocityVariable) * kFeetToMetres,
                           value(kVerticalVelocityVariable) * kFeetToMetres,
                           value(kLongitudinalVelocityVariable) * kFeetToMetres};
  aircraft.groundElevation = value(kGroundElevationVariable) / 256.0 * kMetresToFeet;
  aircraft.heightAboveGround = aircraft.position.altitude - aircraft.groundElevation;
  constexpr Vec3 kStill = {0.0, 0.0, 0.0};
  aircraft.track = WrapDegreesDownThenUp(
      HorizontalBearing(kStill, aircraft.bodyVelocity) * kRadiansToDegrees + aircraft.heading);
}

void RunCockpit() {
  const CameraSettingsRecord& settings = CameraSettings;
  CockpitControllerRecord& controller = CockpitController;
  controller.LatencyGain = settings.ViewTurbOn != 0 ? settings.ViewTurbRate : 0.0;
  controller.GroundTurbGain = settings.GroundTurbOn != 0 ? settings.GroundTurbRate : 0.0;
  controller.BuffetGain = settings.BuffetTurbOn != 0 ? settings.BuffetTurbRate : 0.0;
  controller.PilotRunSpeed = settings.RunningSpeed;
  controller.PilotActive = settings.ExternalViewActive;
  controller.UseMouseInSpot = settings.UseMouseInSpot;
  controller.EnableWheelZoom = settings.EnableWheelZoom;
  controller.HeadTrackerOn = settings.HeadTrackerOn;
  TickCockpitController(controller);
  if (FrameClock.elapsed > kSoundStartSeconds) {
    UpdateSoundEffects();
    ApplySoundEffectRules();
  }
}

void StopEffectSounds() {
  for (int slot :
       {kWalkSoundSlot, kRunSoundSlot, kLightWindSoundSlot, kStrongWindSoundSlot, kStressSoundSlot}) {
    StopSoundSlot(slot);
  }
}

void RunOutsideCameras() {
  const CameraSettingsRecord& settings = CameraSettings;
  const bool high = AircraftState.heightAboveGround > kApproachHeightFeet;
  if (settings.FlyByActive != 0 || (settings.ApproachActive != 0 && high)) {
    RunFlyByCycle();
  } else if (settings.ApproachActive != 0) {
    SetObserverPosition(ApproachAnchor.position);
  }
}

}  // namespace

void UpdateCameraFrame() {
  AdvanceFrameClock();
  if (CameraSettings.InternalViewActive == 0) CameraSettings.ExternalViewActive = 0;
  if (FrameClock.elapsed < kWarmUpSeconds) return;
  if (!LookUpFrameVariables()) return;
  TakeAircraftSnapshot();
  if (AircraftState.heightAboveGround > kPilotHeightLimitFeet) CameraSettings.ExternalViewActive = 0;

  CockpitController.CommandCallback = HandleCommand;
  if (CameraSettings.InternalViewActive != 0) {
    RunCockpit();
  } else {
    StopEffectSounds();
    // Head tracking works on a fresh install, where the module's cockpit view starts off.
    CockpitController.HeadTrackerOn = CameraSettings.HeadTrackerOn;
    TickTrackedHead(CockpitController);
  }

  if (ApproachAnchor.set == 0) {
    ApproachAnchor.position = AircraftState.position;
    ApproachAnchor.set = 1;
  }
  if (AircraftState.heightAboveGround > kApproachHeightFeet) UpdateApproachAnchor();
  RunOutsideCameras();
}

void ResetCameraState() {
  FrameClock = {};
  AircraftState = {};
  FrameVariables = FreshVariables(kFrameVariableSlots);
  FlyByCamera = {};
  ApproachAnchor = {};
}

}  // namespace varolen
