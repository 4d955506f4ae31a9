#include "camera/frame_update.h"

namespace varolen {

void UpdateCameraFrame() {
  // The frame clock and the cameras come with the camera engine.
}

}  // namespace varolen
