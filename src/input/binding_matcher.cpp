#include "input/binding_matcher.h"

#include "input/commands.h"

namespace varolen {

namespace {

KeyBinding bindingStorage[kBindingCapacity];
KeyBindingTable moduleTable = {kBindingCapacity, 0, bindingStorage};

// SHIFT runs the walking pilot: with it held, the pilot's keys move him as
// they do without it, unless SHIFT and the key are bound to a command of their own.
bool ShiftRuns(Command command) { return command >= Command::PilotForward && command <= Command::PilotDown; }

// Runs a press for the binding; true when it consumed the event.
bool Press(KeyBinding& binding) {
  if (binding.repeatArmed) binding.isActive = false;
  if (binding.isActive) return true;  // a repeated press of a DOUBLE binding: nothing runs
  if (RunCommand(binding, false) == 0) return false;
  binding.isActive = true;
  if (!binding.isDouble) binding.repeatArmed = true;
  return true;
}

int MatchBindings(KeyBindingTable& table, const InputEvent& event) {
  const std::uint32_t code = event.code;
  int consumed = 0;
  if (event.kind == InputKind::Press) {
    bool exact = false;
    for (std::int32_t index = 0; index < table.count; ++index) {
      KeyBinding& binding = table.entries[index];
      if (static_cast<std::uint32_t>(binding.keyCode) != code || binding.modifiers != event.modifiers)
        continue;
      exact = true;
      if (Press(binding)) consumed = 1;
    }
    if (exact || (event.modifiers & kModifierShift) == 0) return consumed;
    const std::uint32_t withoutShift = event.modifiers & ~kModifierShift;
    for (std::int32_t index = 0; index < table.count; ++index) {
      KeyBinding& binding = table.entries[index];
      if (static_cast<std::uint32_t>(binding.keyCode) != code || binding.modifiers != withoutShift ||
          !ShiftRuns(binding.command)) {
        continue;
      }
      if (Press(binding)) consumed = 1;
    }
    return consumed;
  }
  // The release ends what its press began, whatever modifier keys are held
  // now: a SHIFT pressed while walking must not leave the pilot walking.
  for (std::int32_t index = 0; index < table.count; ++index) {
    KeyBinding& binding = table.entries[index];
    if (static_cast<std::uint32_t>(binding.keyCode) != code || !binding.isActive) continue;
    // A DOUBLE binding runs once more at the release.
    if (binding.isDouble) RunCommand(binding, true);
    binding.isActive = false;
    binding.repeatArmed = false;
    consumed = 1;
  }
  return consumed;
}

}  // namespace

const KeyBindingTable& KeyBindings = moduleTable;

void ClearKeyBindings() {
  for (KeyBinding& binding : bindingStorage) binding = {};
  moduleTable = {kBindingCapacity, 0, bindingStorage};
}

int ReadModuleKeyBindings(const char* path) { return ReadKeyBindings(path, "Keyboard", moduleTable); }

int MatchModuleBindings(const InputEvent& event) { return MatchBindings(moduleTable, event); }

}  // namespace varolen
