#include "input/commands.h"

#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "input/toggles.h"
#include "input/view_presets.h"
#include "interaction/mouse_look.h"
#include "interaction/walking_pilot.h"
#include "platform/host_memory.h"
#include "tracker/head_tracker.h"
#include "ui/setup_dialog.h"

namespace varolen {

namespace {

// The movement commands name the movement keys in their order.
static_assert(static_cast<int>(Command::PilotDown) - static_cast<int>(Command::PilotForward) ==
              static_cast<int>(MovementKey::Down));
static_assert(static_cast<int>(Command::PilotCrouch) - static_cast<int>(Command::PilotForward) ==
              static_cast<int>(MovementKey::Crouch));

// The mouse and walking pilot's commands: a movement key's release always
// flips its movement back; otherwise they work only in the virtual cockpit,
// the spot view and the walking pilot's view.
int RunCockpitCommand(Command command, bool release) {
  if (command >= Command::PilotForward && command <= Command::PilotDown) {
    const auto key =
        static_cast<MovementKey>(static_cast<int>(command) - static_cast<int>(Command::PilotForward));
    return FlipMovementKey(key, release);
  }
  const HostAddress view = FindCurrentView();
  if (view == 0) return 0;
  if (!IsPilotView(ViewKindOf(view))) return 0;
  switch (command) {
    case Command::ToggleMouseLook:
      ToggleMouseLook();
      return 1;
    case Command::TogglePilot:  // the external pilot view setting, as its menu item switches it
      ToggleSetting(&CameraSettingsRecord::ExternalViewActive);
      return 1;
    default:  // clicking stays with the host: the click commands are known but do nothing
      return 0;
  }
}

// The commands that switch a setting, as its menu item does.
constexpr struct {
  Command command;
  SettingFlag setting;
} kSettingCommands[] = {
    {Command::ToggleFlyBy, &CameraSettingsRecord::FlyByActive},
    {Command::ToggleHeadLatency, &CameraSettingsRecord::ViewTurbOn},
    {Command::ToggleGroundTurbulence, &CameraSettingsRecord::GroundTurbOn},
    {Command::ToggleBuffeting, &CameraSettingsRecord::BuffetTurbOn},
    {Command::ToggleInternalView, &CameraSettingsRecord::InternalViewActive},
    {Command::ToggleExternalView, &CameraSettingsRecord::ExternalViewActive},
    {Command::ToggleApproachView, &CameraSettingsRecord::ApproachActive},
    {Command::ToggleWheelZoom, &CameraSettingsRecord::EnableWheelZoom},
    {Command::ToggleUseMouseInSpot, &CameraSettingsRecord::UseMouseInSpot},
    {Command::ToggleHeadTracker, &CameraSettingsRecord::HeadTrackerOn},
};

// The module's other commands; nonzero when carried out.
int HandleCommand(Command command, std::int32_t preset) {
  for (const auto& entry : kSettingCommands) {
    if (entry.command == command) {
      ToggleSetting(entry.setting);
      return 1;
    }
  }
  switch (command) {
    case Command::CentreHeadTracker:
      CentreHeadTracker();
      return 1;
    case Command::Setup:
      // Not consumed: the binding stays idle, so the next press opens it again.
      ShowSetupDialog(Shell.hostMainWindow);
      return 0;
    case Command::LoadPreset:
      LoadViewPresetsInteractive(Shell.hostMainWindow);
      return 0;
    case Command::SetCockpitView:
      StoreViewPreset(preset);
      return 1;
    case Command::CockpitView:
      RecallViewPreset(preset);
      return 1;
    default:
      return 0;
  }
}

}  // namespace

int RunCommand(const KeyBinding& binding, bool release) {
  if (IsCockpitCommand(binding.command)) return RunCockpitCommand(binding.command, release);
  // Until the frame update has passed its warm-up only the mouse and walking
  // pilot's commands answer.
  return AircraftSnapshotTaken() ? HandleCommand(binding.command, binding.preset) : 0;
}

}  // namespace varolen
