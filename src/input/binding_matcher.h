// Matching input events against the key bindings and running their commands.
#pragma once

#include "host/input_event.h"
#include "input/key_bindings.h"

namespace varolen {

// Runs every binding that matches the event: a press those of its code and
// exact modifiers (with SHIFT held and none of them, the walking pilot's keys
// bound without it: SHIFT makes him run), a release every binding of its code
// that a press made active; 1 when at least one of them consumed it.
int MatchBindings(KeyBindingTable& table, const InputEvent& event);

}  // namespace varolen
