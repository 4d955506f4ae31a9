#include "input/toggles.h"

#include "host/settings.h"
#include "interaction/walking_pilot.h"
#include "sound/sound_effects.h"

namespace varolen {

namespace {

void Toggle(std::int32_t& flag) { flag = flag != 0 ? 0 : 1; }

void ToggleFlyBy() {
  Toggle(CameraSettings.FlyByActive);
  if (CameraSettings.FlyByActive != 0) CameraSettings.ApproachActive = 0;
}

void ToggleApproachView() {
  Toggle(CameraSettings.ApproachActive);
  if (CameraSettings.ApproachActive != 0) CameraSettings.FlyByActive = 0;
}

void ToggleExternalView() {
  Toggle(CameraSettings.ExternalViewActive);
  if (CameraSettings.ExternalViewActive != 0) {
    CameraSettings.InternalViewActive = 1;
    SwitchToVirtualCockpit();
  }
}

void ToggleSound() {
  Toggle(CameraSettings.SoundOn);
  if (CameraSettings.SoundOn != 0) {
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
