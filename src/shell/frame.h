// The module's frame, run on every host frame message: each subsystem's step
// in the order the module runs them.
#pragma once

#include "host/frame_input.h"

namespace varolen {

void UpdateCameraFrame();

// The cockpit's part of a frame, with the module's cockpit view on: the
// host's blocks, the head, the view, the walking pilot and (once the module
// has run five seconds) the sounds.
void RunCockpit(const FrameInput& frame);

}  // namespace varolen
