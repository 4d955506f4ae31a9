// The approach view: an anchor kept at the predicted touchdown point while the
// aircraft is high, where the observer is parked once it comes low.
#pragma once

#include <cstdint>

#include "maths/geometry.h"

namespace varolen {

struct ApproachAnchorRecord {
  GeoPosition position;
  std::int32_t set;  // 1 once the first frame after the warm-up placed it
};

extern ApproachAnchorRecord ApproachAnchor;

// Moves the anchor to where the present flight path meets the ground, shifted
// by the user's offsets; unchanged in level flight or without forward speed.
void UpdateApproachAnchor();

// The frame's outside cameras: the approach anchor, then the fly-by while the
// fly-by is on or the approach view's aircraft is still high, else the
// observer parked at the anchor.
void RunOutsideCameras();

}  // namespace varolen
