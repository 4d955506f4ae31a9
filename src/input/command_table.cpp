#include "input/command_table.h"

#include <cstring>
#include <iterator>

namespace varolen {

constexpr CommandName kCommandNames[30] = {
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

namespace {

constexpr int kFirstWordRow = 15;
static_assert(!kCommandNames[kFirstWordRow - 1].anywhere && kCommandNames[kFirstWordRow].anywhere);

// Every word begins with one of these letters.
bool MayBeginAWord(char c) { return c == 'T' || c == 'C' || c == 'S' || c == 'L'; }

}  // namespace

ResolvedCommand ResolveCommand(const char* name) {
  // The whole names first: none of them holds a word of the others.
  for (int row = 0; row < kFirstWordRow; ++row) {
    const CommandName& whole = kCommandNames[row];
    if (whole.name[0] == name[0] && whole.name == name) return {whole.command, 0};
  }
  // The first word in the table's order found anywhere: the name is read once,
  // each place tried against the words before the best found so far.
  int best = static_cast<int>(std::size(kCommandNames));
  for (const char* at = name; *at != '\0'; ++at) {
    if (!MayBeginAWord(*at)) continue;
    for (int row = kFirstWordRow; row < best; ++row) {
      const std::string_view word = kCommandNames[row].name;
      if (word[0] == *at && std::strncmp(at, word.data(), word.size()) == 0) {
        best = row;
        break;
      }
    }
  }
  if (best == static_cast<int>(std::size(kCommandNames))) return {Command::None, 0};
  const CommandName& found = kCommandNames[best];
  if (found.presetDigitAt < 0) return {found.command, 0};
  const int digit = static_cast<signed char>(name[found.presetDigitAt]) - '0';
  return {found.command, digit < 0 ? 0 : (digit > 9 ? 9 : digit)};
}

}  // namespace varolen
