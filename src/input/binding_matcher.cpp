#include "input/binding_matcher.h"

#include "input/commands.h"

namespace varolen {

int MatchBindings(KeyBindingTable& table, const InputEvent& event) {
  const std::uint32_t code = event.code;
  const bool pressed = event.kind == InputKind::Press;
  int consumed = 0;
  for (std::int32_t index = 0; index < table.count; ++index) {
    KeyBinding& binding = table.entries[index];
    if (static_cast<std::uint32_t>(binding.keyCode) != code) continue;
    if (pressed) {
      if (binding.modifiers != event.modifiers) continue;
      if (binding.repeatArmed != 0) binding.isActive = 0;
      if (binding.isActive != 0) {
        consumed = 1;  // a repeated press of a DOUBLE binding: nothing runs
        continue;
      }
      if (RunCommand(binding, false) != 0) {
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
    if (binding.isDouble != 0) RunCommand(binding, true);
    binding.isActive = 0;
    binding.repeatArmed = 0;
    consumed = 1;
  }
  return consumed;
}

}  // namespace varolen
