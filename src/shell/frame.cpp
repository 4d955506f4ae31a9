#include "shell/frame.h"

#include "camera/approach_view.h"
#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/settings.h"
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

}  // namespace

void RunCockpit(const FrameInput& frame) {
  DiscoverHostModules();
  const CockpitTickRecord& tick = AdvanceCockpitTick(frame.now);
  UpdateHeadTracker(frame.settings.HeadTrackerOn, frame.now);
  const CockpitViewUpdate view = UpdateCockpitView(tick, frame.aircraft, true, Mouse.CursorOverClickArea);
  const PilotGait pilot = UpdateWalkingPilot(tick, frame.aircraft, view.view);
  if (frame.elapsed > kSoundStartSeconds) {
    UpdateSoundEffects(frame.now);
    ApplySoundEffectRules(
        {pilot.walking, pilot.running, view.inCockpit, view.buffetLevel, frame.aircraft.wind});
  }
}

namespace {

// The host's own cockpit view (as on a fresh install): the tracked head alone.
void RunTrackedHead(const FrameInput& frame) {
  StopEffectSounds();
  UpdateHeadTracker(frame.settings.HeadTrackerOn, frame.now);
  // Without a tracked head the host's memory is not even looked at.
  if (!TrackedHeadToWrite()) return;
  DiscoverHostModules();
  UpdateTrackedHeadView();
}

}  // namespace

void UpdateCameraFrame() {
  // The one reading of the clock and the one look-up of the aircraft's
  // variables this frame; every step below is handed them.
  const std::uint32_t now = platform::TimeGetTime();
  const FrameClockRecord& clock = AdvanceFrameClock(now);
  CameraSettingsRecord& settings = CameraSettings;
  if (!settings.InternalViewActive) settings.ExternalViewActive = false;
  if (clock.elapsed < kWarmUpSeconds) return;
  if (!TakeAircraftSnapshot(settings.InternalViewActive)) return;
  if (AircraftState.heightAboveGround > kPilotHeightLimitFeet) settings.ExternalViewActive = false;
  const FrameInput frame = {now, clock.step, clock.elapsed, AircraftState, settings};
  if (settings.InternalViewActive) {
    RunCockpit(frame);
  } else {
    RunTrackedHead(frame);
  }
  RunOutsideCameras(frame);
}

}  // namespace varolen
