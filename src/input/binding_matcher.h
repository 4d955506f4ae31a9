// Matching input events against the key bindings and running their commands.
#pragma once

#include "host/input_event.h"
#include "input/key_bindings.h"

namespace varolen {

// The module's table, filled once at start-up from the binding file.
extern const KeyBindingTable& KeyBindings;

// The module's table empty, as a freshly loaded module has it.
void ClearKeyBindings();
// Appends the bindings of the binding file's [Keyboard] section to the
// module's table. 1 when the file could be opened, 0 when not.
int ReadModuleKeyBindings(const char* path);
// Runs every binding of the module's table that matches the event: a press
// those of its code and exact modifiers (with SHIFT held and none of them, the
// walking pilot's keys bound without it: SHIFT makes him run), a release every
// binding of its code that a press made active; 1 when at least one of them
// consumed it.
int MatchModuleBindings(const InputEvent& event);

}  // namespace varolen
