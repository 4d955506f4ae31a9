#include "interaction/cockpit_commands.h"

#include <cstring>

#include "cockpit/host_view.h"
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
};

constexpr FlagCommand kFlagCommands[] = {
    {"PilotForward", &CockpitControllerRecord::PilotForward},
    {"PilotBackward", &CockpitControllerRecord::PilotBackward},
    {"PilotStepRight", &CockpitControllerRecord::PilotStepRight},
    {"PilotStepLeft", &CockpitControllerRecord::PilotStepLeft},
    {"PilotHeadRight", &CockpitControllerRecord::PilotHeadRight},
    {"PilotHeadLeft", &CockpitControllerRecord::PilotHeadLeft},
    {"PilotHeadUp", &CockpitControllerRecord::PilotHeadUp},
    {"PilotHeadDown", &CockpitControllerRecord::PilotHeadDown},
    {"PilotCrouch", &CockpitControllerRecord::PilotCrouch},
    {"PilotUp", &CockpitControllerRecord::PilotUp},
    {"PilotDown", &CockpitControllerRecord::PilotDown},
};

}  // namespace

int RunCockpitCommand(CockpitControllerRecord& controller, KeyBinding& binding,
                      platform::WindowHandle /*window*/, std::uint32_t /*message*/, std::uintptr_t /*wParam*/,
                      std::intptr_t /*lParam*/) {
  // These commands belong to the virtual cockpit, the spot view and the walking pilot.
  const HostAddress view = FindCurrentView(controller);
  if (view == 0) return 0;
  const std::int32_t kind = platform::ReadHost<std::int32_t>(view + view_record::kKind);
  if (kind != kVirtualCockpitView && kind != kSpotView && kind != kWalkingPilotView) return 0;
  const char* name = binding.commandName;
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
  for (const FlagCommand& command : kFlagCommands) {
    if (std::strcmp(name, command.name) == 0) {
      std::int32_t& flag = controller.*command.flag;
      flag = flag != 0 ? 0 : 1;
      return 1;
    }
  }
  return 0;
}

}  // namespace varolen
