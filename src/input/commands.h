// The module's named commands, run from key bindings.
#pragma once

#include "input/key_bindings.h"

namespace varolen {

// Runs the command the binding names; nonzero when it was carried out.
int HandleCommand(int, int, KeyBinding* binding);

// The binding table and the preset table as a freshly loaded module has them.
void ResetInputState();

}  // namespace varolen
