// The outside cameras' state as a whole.
#pragma once

namespace varolen {

// The fly-by and the approach anchor as a freshly loaded module has them.
void ResetCameraState();

}  // namespace varolen
