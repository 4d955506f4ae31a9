// The approach view: an anchor kept at the predicted touchdown point while the
// aircraft is high, where the observer is parked once it comes low.
#pragma once

#include <cstdint>

#include "host/frame_input.h"
#include "maths/geometry.h"

namespace varolen {

struct ApproachAnchorRecord {
  GeoPosition position;
  bool set;  // 1 once the first frame after the warm-up placed it
};

extern const ApproachAnchorRecord& ApproachAnchor;

// Below this height the approach view parks the observer.
inline constexpr double kApproachHeightFeet = 200.0;

// The frame's outside cameras: the approach anchor (moved, while the aircraft
// is high, to where the present flight path meets the ground, shifted by the
// user's offsets), then the fly-by while the fly-by is on or the approach
// view's aircraft is still high, else the observer parked at the anchor.
void RunOutsideCameras(const FrameInput& frame);
// The anchor as a freshly loaded module has it: not set.
void ResetApproachAnchor();

}  // namespace varolen
