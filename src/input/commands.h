// Running the commands of the key bindings.
#pragma once

#include "input/key_bindings.h"

namespace varolen {

// A matched binding's command, at its key's press or (a DOUBLE binding's)
// release; nonzero when it was carried out. The mouse and walking pilot's
// commands work from start-up in the views they belong to; the module's
// others once the frame update has passed its warm-up.
int RunCommand(const KeyBinding& binding, bool release);

}  // namespace varolen
