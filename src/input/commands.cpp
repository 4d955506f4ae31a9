#include "input/commands.h"

#include <cstring>

#include "cockpit/cockpit_controller.h"
#include "cockpit/view_update.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "input/toggles.h"
#include "input/view_presets.h"
#include "tracker/head_tracker.h"
#include "ui/setup_dialog.h"

namespace varolen {

namespace {

// The preset number: the character at `position` of the name, as a digit, 0 to 9.
int PresetNumber(const KeyBinding& binding, int position) {
  const int digit = static_cast<signed char>(binding.commandName[position]) - '0';
  return digit < 0 ? 0 : (digit > 9 ? 9 : digit);
}

// Field by field: a preset's bytes are its values, padding untouched.
void SetPreset(ViewPreset& preset, std::int32_t kind, const double (&position)[3],
               const double (&orientation)[3], double zoom) {
  preset.kind = kind;
  for (int axis = 0; axis < 3; ++axis) {
    preset.position[axis] = position[axis];
    preset.orientation[axis] = orientation[axis];
  }
  preset.zoom = zoom;
}

void StorePreset(ViewPreset& preset) {
  const CockpitControllerRecord& c = CockpitController;
  if (CameraSettings.ExternalViewActive == 0) {
    SetPreset(preset, 0, {c.TargetEyePosition.x, c.TargetEyePosition.y, c.TargetEyePosition.z},
              {c.TargetViewAngles.pitch, c.TargetViewAngles.heading, c.TargetViewAngles.bank}, c.TargetZoom);
  } else {
    SetPreset(preset, 1, {c.PilotLatitude, c.PilotLongitude, c.PilotAltitude},
              {c.PilotPitch, c.PilotHeading, c.PilotBank}, c.PilotZoom);
  }
}

void RecallPreset(const ViewPreset& preset) {
  CockpitControllerRecord& c = CockpitController;
  if (preset.position[0] == 0.0 && preset.position[1] == 0.0 && preset.position[2] == 0.0) return;  // empty
  if (preset.kind == 0) {
    CameraSettings.InternalViewActive = 1;
    CameraSettings.ExternalViewActive = 0;
    c.TargetEyePosition = {preset.position[0], preset.position[1], preset.position[2]};
    c.TargetViewAngles = {preset.orientation[0], preset.orientation[1], preset.orientation[2]};
    c.TargetZoom = preset.zoom;
    if (CameraSettings.SmoothView == 0) {
      c.EyePosition = c.TargetEyePosition;
      c.ViewAngles = c.TargetViewAngles;
      c.Zoom = c.TargetZoom;
    }
    BeginViewTransition(c);
  } else if (preset.kind == 1) {
    CameraSettings.InternalViewActive = 1;
    CameraSettings.ExternalViewActive = 1;
    c.PilotPositionFromPreset = 1;
    c.PilotLatitude = preset.position[0];
    c.PilotLongitude = preset.position[1];
    c.PilotAltitude = preset.position[2];
    c.PilotPitch = preset.orientation[0];
    c.PilotHeading = preset.orientation[1];
    c.PilotBank = preset.orientation[2];
    c.PilotZoom = preset.zoom;
  }
}

}  // namespace

int HandleCommand(int, int, KeyBinding* binding) {
  if (binding == nullptr) return 0;
  // The command words are found anywhere in the name, in this order: the
  // first one found decides (so SetCockpitView4 never recalls).
  const char* name = binding->commandName;
  const auto names = [name](const char* word) { return std::strstr(name, word) != nullptr; };
  CameraSettingsRecord& settings = CameraSettings;
  if (names("ToggleFlyBy")) {
    ToggleFlyBy();
  } else if (names("ToggleHeadLatency")) {
    Toggle(settings.ViewTurbOn);
  } else if (names("ToggleGroundTurbulence")) {
    Toggle(settings.GroundTurbOn);
  } else if (names("ToggleBuffeting")) {
    Toggle(settings.BuffetTurbOn);
  } else if (names("ToggleInternalView")) {
    Toggle(settings.InternalViewActive);
  } else if (names("ToggleExternalView")) {
    ToggleExternalView();
  } else if (names("ToggleApproachView")) {
    ToggleApproachView();
  } else if (names("ToggleWheelZoom")) {
    Toggle(settings.EnableWheelZoom);
  } else if (names("ToggleUseMouseInSpot")) {
    Toggle(settings.UseMouseInSpot);
  } else if (names("ToggleHeadTracker")) {
    Toggle(settings.HeadTrackerOn);
  } else if (names("CentreHeadTracker")) {
    CentreHeadTracker();
  } else if (names("Setup")) {
    // Not consumed: the binding stays idle, so the next press opens it again.
    ShowSetupDialog(Shell.hostMainWindow);
    return 0;
  } else if (names("LoadPreset")) {
    LoadViewPresetsInteractive(Shell.hostMainWindow);
    return 0;
  } else if (names("SetCockpitView")) {
    StorePreset(ViewPresets[PresetNumber(*binding, 14)]);
  } else if (names("CockpitView")) {
    RecallPreset(ViewPresets[PresetNumber(*binding, 11)]);
  } else {
    return 0;
  }
  return 1;
}

void ResetInputState() {
  ClearKeyBindings();
  for (ViewPreset& preset : ViewPresets) preset = {};
}

}  // namespace varolen
