#include "shell/frame.h"

#include "camera/aircraft_snapshot.h"
#include "camera/approach_view.h"
#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/host_view.h"
#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"
#include "host/settings.h"
#include "input/commands.h"
#include "interaction/mouse_look.h"
#include "interaction/walking_pilot.h"
#include "platform/clock.h"
#include "sound/sound_effects.h"
#include "tracker/head_tracker.h"

namespace varolen {

namespace {

// Sounds start only once the module has run a while.
constexpr double kSoundStartSeconds = 5.0;
// The walking pilot exists only this close to the ground.
constexpr double kPilotHeightLimitFeet = 30.0;

SoundScene SceneOfThisFrame() {
  const MovementKeysRecord& keys = MovementKeys;
  const bool walking = keys.PilotForward != 0 || keys.PilotBackward != 0 || keys.PilotStepRight != 0 ||
                       keys.PilotStepLeft != 0;
  return {CameraSettings.ExternalViewActive == 1 && walking, WalkingPilot.PilotRunning != 0,
          CockpitViewState.InCockpitView != 0, HeadMotion.BuffetLevel, FrameVariables[kWindVariable].Value()};
}

}  // namespace

void RunCockpit(std::uint32_t now) {
  DiscoverHostModules();
  AdvanceCockpitTick(now);
  CockpitViewState.InCockpitView = 0;
  UpdateHeadTracker(CameraSettings.HeadTrackerOn != 0, now);
  UpdateCockpitView(1, Mouse.CursorOverClickArea != 0);
  UpdateWalkingPilot();
  if (FrameClock.elapsed > kSoundStartSeconds) {
    UpdateSoundEffects(now);
    ApplySoundEffectRules(SceneOfThisFrame());
  }
}

namespace {

// The host's own cockpit view (as on a fresh install): the tracked head alone.
void RunTrackedHead(std::uint32_t now) {
  StopEffectSounds();
  UpdateHeadTracker(CameraSettings.HeadTrackerOn != 0, now);
  // Without a tracked head the host's memory is not even looked at.
  if (!TrackedHeadToWrite()) return;
  DiscoverHostModules();
  UpdateTrackedHeadView();
}

}  // namespace

void UpdateCameraFrame() {
  const std::uint32_t now = platform::TimeGetTime();
  AdvanceFrameClock(now);
  CameraSettingsRecord& settings = CameraSettings;
  if (settings.InternalViewActive == 0) settings.ExternalViewActive = 0;
  if (FrameClock.elapsed < kWarmUpSeconds) return;
  if (!TakeAircraftSnapshot()) return;
  if (AircraftState.heightAboveGround > kPilotHeightLimitFeet) settings.ExternalViewActive = 0;
  EnableModuleCommands();
  if (settings.InternalViewActive != 0) {
    RunCockpit(now);
  } else {
    RunTrackedHead(now);
  }
  RunOutsideCameras();
}

}  // namespace varolen
