// The fly-by camera: the outside observer placed ahead of the aircraft, a
// little to one side of its track, re-placed every cycle; in the travelling
// variant straight on the track, sliding aside as the aircraft comes close.
#pragma once

#include <cstdint>

#include "host/frame_input.h"
#include "maths/geometry.h"

namespace varolen {

struct FlyByCameraRecord {
  float cycleTimer;         // seconds until the next placement
  std::int32_t side;        // +1 right of the track, -1 left; 0 before the first placement
  double distance;          // metres ahead
  GeoPosition camera;       // the last placement
  double placementHeading;  // degrees: the aircraft's heading at that placement
  bool placed;              // 1 once the camera was placed
};

extern const FlyByCameraRecord& FlyByCamera;

// One frame of the cycle: count down, place when the time is up, slide when travelling.
void RunFlyByCycle(const FrameInput& frame);
// The fly-by as a freshly loaded module has it: not placed.
void ResetFlyByCamera();

}  // namespace varolen
