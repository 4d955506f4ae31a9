#include "input/command_table.h"

#include <cstring>

namespace varolen {

const CommandName kCommandNames[30] = {
    {"ButtonClickLeft", Command::ButtonClickLeft, false, -1},
    {"ButtonClickRight", Command::ButtonClickRight, false, -1},
    {"ToggleMouseLook", Command::ToggleMouseLook, false, -1},
    {"PilotForward", Command::PilotForward, false, -1},
    {"PilotBackward", Command::PilotBackward, false, -1},
    {"PilotStepRight", Command::PilotStepRight, false, -1},
    {"PilotStepLeft", Command::PilotStepLeft, false, -1},
    {"PilotHeadRight", Command::PilotHeadRight, false, -1},
    {"PilotHeadLeft", Command::PilotHeadLeft, false, -1},
    {"PilotHeadUp", Command::PilotHeadUp, false, -1},
    {"PilotHeadDown", Command::PilotHeadDown, false, -1},
    {"PilotCrouch", Command::PilotCrouch, false, -1},
    {"PilotUp", Command::PilotUp, false, -1},
    {"PilotDown", Command::PilotDown, false, -1},
    {"TogglePilot", Command::TogglePilot, false, -1},
    {"ToggleFlyBy", Command::ToggleFlyBy, true, -1},
    {"ToggleHeadLatency", Command::ToggleHeadLatency, true, -1},
    {"ToggleGroundTurbulence", Command::ToggleGroundTurbulence, true, -1},
    {"ToggleBuffeting", Command::ToggleBuffeting, true, -1},
    {"ToggleInternalView", Command::ToggleInternalView, true, -1},
    {"ToggleExternalView", Command::ToggleExternalView, true, -1},
    {"ToggleApproachView", Command::ToggleApproachView, true, -1},
    {"ToggleWheelZoom", Command::ToggleWheelZoom, true, -1},
    {"ToggleUseMouseInSpot", Command::ToggleUseMouseInSpot, true, -1},
    {"ToggleHeadTracker", Command::ToggleHeadTracker, true, -1},
    {"CentreHeadTracker", Command::CentreHeadTracker, true, -1},
    {"Setup", Command::Setup, true, -1},
    {"LoadPreset", Command::LoadPreset, true, -1},
    // The digit right after the word when the name begins with it.
    {"SetCockpitView", Command::SetCockpitView, true, 14},
    {"CockpitView", Command::CockpitView, true, 11},
};

ResolvedCommand ResolveCommand(const char* name) {
  // The whole names first: none of them holds a word of the others.
  for (const CommandName& row : kCommandNames) {
    if (!row.anywhere && std::strcmp(name, row.name) == 0) return {row.command, 0};
  }
  for (const CommandName& row : kCommandNames) {
    if (!row.anywhere || std::strstr(name, row.name) == nullptr) continue;
    if (row.presetDigitAt < 0) return {row.command, 0};
    const int digit = static_cast<signed char>(name[row.presetDigitAt]) - '0';
    return {row.command, digit < 0 ? 0 : (digit > 9 ? 9 : digit)};
  }
  return {Command::None, 0};
}

}  // namespace varolen
