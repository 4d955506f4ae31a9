// The module's commands as the binding file names them. A binding's name is
// resolved once, when the file is read: the mouse and walking pilot's
// commands by the whole name, the module's others by their word anywhere in
// the name, the first found in the table's order (so "SetCockpitView4" never
// recalls, and "XToggleFlyByX" toggles the fly-by). Case counts.
#pragma once

#include <cstdint>
#include <string_view>

namespace varolen {

enum class Command : std::uint8_t {
  None,
  // The mouse and the walking pilot's, by the whole name.
  ButtonClickLeft,
  ButtonClickRight,
  ToggleMouseLook,
  PilotForward,
  PilotBackward,
  PilotStepRight,
  PilotStepLeft,
  PilotHeadRight,
  PilotHeadLeft,
  PilotHeadUp,
  PilotHeadDown,
  PilotCrouch,
  PilotUp,
  PilotDown,
  TogglePilot,
  // The module's others, by their word anywhere in the name.
  ToggleFlyBy,
  ToggleHeadLatency,
  ToggleGroundTurbulence,
  ToggleBuffeting,
  ToggleInternalView,
  ToggleExternalView,
  ToggleApproachView,
  ToggleWheelZoom,
  ToggleUseMouseInSpot,
  ToggleHeadTracker,
  CentreHeadTracker,
  Setup,
  LoadPreset,
  SetCockpitView,
  CockpitView,
};

struct CommandName {
  std::string_view name;
  Command command;
  bool anywhere;      // the word anywhere in the binding's name, else the whole name
  int presetDigitAt;  // the preset's digit: this character of the binding's name; -1 for none
};

// One row per command, in the order they are looked for.
extern const CommandName kCommandNames[30];

// The command a binding's name (as the binding keeps it) names, and its
// preset: the digit at the command's position of the name, below 0 taken as
// 0 and above 9 as 9.
struct ResolvedCommand {
  Command command;
  std::int32_t preset;
};
ResolvedCommand ResolveCommand(const char* name);

// The mouse and walking pilot's commands, which belong to the views the
// mouse and the pilot move.
inline bool IsCockpitCommand(Command command) {
  return command >= Command::ButtonClickLeft && command <= Command::TogglePilot;
}

}  // namespace varolen
