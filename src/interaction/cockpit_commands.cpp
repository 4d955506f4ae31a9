#include "interaction/cockpit_commands.h"

#include <cstring>

#include "cockpit/host_view.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "input/toggles.h"
#include "interaction/mouse_look.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

// Commands that flip one of the controller's flags: bound with DOUBLE, the
// flag is on while the key is held.
struct FlagCommand {
  const char* name;
  std::int32_t CockpitControllerRecord::*flag;
  bool movesTheEye;  // besides the walking pilot, the virtual cockpit's eye
};

constexpr FlagCommand kFlagCommands[] = {
    {"PilotForward", &CockpitControllerRecord::PilotForward, true},
    {"PilotBackward", &CockpitControllerRecord::PilotBackward, true},
    {"PilotStepRight", &CockpitControllerRecord::PilotStepRight, true},
    {"PilotStepLeft", &CockpitControllerRecord::PilotStepLeft, true},
    {"PilotHeadRight", &CockpitControllerRecord::PilotHeadRight, true},
    {"PilotHeadLeft", &CockpitControllerRecord::PilotHeadLeft, true},
    {"PilotHeadUp", &CockpitControllerRecord::PilotHeadUp, true},
    {"PilotHeadDown", &CockpitControllerRecord::PilotHeadDown, true},
    {"PilotCrouch", &CockpitControllerRecord::PilotCrouch, false},
    {"PilotUp", &CockpitControllerRecord::PilotUp, true},
    {"PilotDown", &CockpitControllerRecord::PilotDown, true},
};

bool IsRelease(std::uint32_t message) {
  return message == kKeyUp || message == kLeftButtonUp || message == kRightButtonUp ||
         message == kMiddleButtonUp;
}

// A movement key acts only where something moves: the walking pilot while he
// is out, the eye in the virtual cockpit or the spot view while the module
// runs the cockpit view. Elsewhere the key is the simulator's (the number pad
// trims and throttles there).
bool FlagActs(const FlagCommand& command, std::int32_t kind) {
  const CameraSettingsRecord& settings = CameraSettings;
  if (settings.InternalViewActive == 0) return false;
  if (settings.ExternalViewActive != 0) return true;
  return command.movesTheEye && (kind == kVirtualCockpitView || kind == kSpotView);
}

}  // namespace

int RunCockpitCommand(CockpitControllerRecord& controller, KeyBinding& binding,
                      platform::WindowHandle /*window*/, std::uint32_t message, std::uintptr_t /*wParam*/,
                      std::intptr_t /*lParam*/) {
  const char* name = binding.commandName;
  const FlagCommand* flag = nullptr;
  for (const FlagCommand& command : kFlagCommands) {
    if (std::strcmp(name, command.name) == 0) flag = &command;
  }
  // A DOUBLE binding's release flips back what its press flipped, wherever the
  // view went meanwhile, so that no movement is left running.
  if (flag != nullptr && IsRelease(message)) {
    Toggle(controller.*flag->flag);
    return 1;
  }
  // These commands belong to the virtual cockpit, the spot view and the walking pilot.
  const HostAddress view = FindCurrentView(controller);
  if (view == 0) return 0;
  const std::int32_t kind = platform::ReadHost<std::int32_t>(view + view_record::kKind);
  if (kind != kVirtualCockpitView && kind != kSpotView && kind != kWalkingPilotView) return 0;
  if (flag != nullptr) {
    if (!FlagActs(*flag, kind)) return 0;
    Toggle(controller.*flag->flag);
    return 1;
  }
  // Clicking stays with the host: the click commands are known but do nothing.
  if (std::strcmp(name, "ButtonClickLeft") == 0 || std::strcmp(name, "ButtonClickRight") == 0) return 0;
  if (std::strcmp(name, "ToggleMouseLook") == 0) {
    ToggleMouseLook(controller);
    return 1;
  }
  // The external pilot view setting, as its menu item switches it.
  if (std::strcmp(name, "TogglePilot") == 0) {
    ToggleExternalView();
    return 1;
  }
  return 0;
}

}  // namespace varolen
