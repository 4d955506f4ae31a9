#include "input/toggles.h"

#include "host/settings.h"
#include "interaction/walking_pilot.h"
#include "sound/sound_effects.h"

namespace varolen {

namespace {

void Toggle(bool& flag) { flag = !flag; }

void ToggleFlyBy() {
  Toggle(CameraSettings.FlyByActive);
  if (CameraSettings.FlyByActive) CameraSettings.ApproachActive = false;
}

void ToggleApproachView() {
  Toggle(CameraSettings.ApproachActive);
  if (CameraSettings.ApproachActive) CameraSettings.FlyByActive = false;
}

void ToggleExternalView() {
  Toggle(CameraSettings.ExternalViewActive);
  if (CameraSettings.ExternalViewActive) {
    CameraSettings.InternalViewActive = true;
    SwitchToVirtualCockpit();
  }
}

void ToggleSound() {
  Toggle(CameraSettings.SoundOn);
  if (CameraSettings.SoundOn) {
    ResumeLoopingSounds();
  } else {
    StopLoopingSounds();
  }
}

// The settings whose switch does more than flip them.
constexpr struct {
  SettingFlag setting;
  void (*toggle)();
} kLinkedToggles[] = {
    {&CameraSettingsRecord::FlyByActive, ToggleFlyBy},
    {&CameraSettingsRecord::ApproachActive, ToggleApproachView},
    {&CameraSettingsRecord::ExternalViewActive, ToggleExternalView},
    {&CameraSettingsRecord::SoundOn, ToggleSound},
};

}  // namespace

void ToggleSetting(SettingFlag setting) {
  for (const auto& linked : kLinkedToggles) {
    if (linked.setting == setting) {
      linked.toggle();
      return;
    }
  }
  Toggle(CameraSettings.*setting);
}

}  // namespace varolen
