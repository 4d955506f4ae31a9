#include "camera/camera_state.h"

#include "camera/approach_view.h"
#include "camera/fly_by.h"

namespace varolen {

void ResetCameraState() {
  ResetFlyByCamera();
  ResetApproachAnchor();
}

}  // namespace varolen
