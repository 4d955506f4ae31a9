#include "input/binding_matcher.h"

#include "interaction/cockpit_commands.h"

namespace varolen {

namespace {

// The mouse and pilot commands first, then the module's named commands.
int RunCommand(CockpitControllerRecord& controller, KeyBinding& binding, platform::WindowHandle window,
               std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  int result = RunCockpitCommand(controller, binding, window, message, wParam, lParam);
  if (result == 0 && controller.CommandCallback != nullptr)
    result = controller.CommandCallback(0, 0, &binding);
  return result;
}

}  // namespace

int MatchBindings(CockpitControllerRecord& controller, KeyBindingTable& table, platform::WindowHandle window,
                  std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::uint32_t code,
                  std::uint32_t modifiers, int pressed) {
  int consumed = 0;
  for (std::int32_t index = 0; index < table.count; ++index) {
    KeyBinding& binding = table.entries[index];
    if (static_cast<std::uint32_t>(binding.keyCode) != code) continue;
    if (pressed != 0) {
      if (binding.modifiers != modifiers) continue;
      if (binding.repeatArmed != 0) binding.isActive = 0;
      if (binding.isActive != 0) {
        consumed = 1;  // a repeated press of a DOUBLE binding: nothing runs
        continue;
      }
      if (RunCommand(controller, binding, window, message, wParam, lParam) != 0) {
        binding.isActive = 1;
        if (binding.isDouble == 0) binding.repeatArmed = 1;
        consumed = 1;
      }
      continue;
    }
    // The release ends what its press began, whatever modifier keys are held
    // now: a SHIFT pressed while walking must not leave the pilot walking.
    if (binding.isActive == 0) continue;
    // A DOUBLE binding runs once more at the release.
    if (binding.isDouble != 0) RunCommand(controller, binding, window, message, wParam, lParam);
    binding.isActive = 0;
    binding.repeatArmed = 0;
    consumed = 1;
  }
  return consumed;
}

}  // namespace varolen
