// The external walking pilot: a view from a person on the ground beside the
// aircraft, written into the host's view record and view blocks every frame.
#pragma once

#include <cstdint>

#include "cockpit/cockpit_controller.h"
#include "host/frame_input.h"
#include "host/host_layout.h"
#include "host/view_writer.h"
#include "maths/geometry.h"

namespace varolen {

// The walking pilot: where he stands and looks. Out while the "External
// pilot view" setting is on; he moves by the movement keys.
struct WalkingPilotRecord {
  std::uint8_t SavedCameraRecord[kHostViewRecordSize];  // the view as it was when he stepped out
  bool PilotViewEntered;
  bool PilotPositionFromPreset;
  bool PilotRunning;
  double PilotLatitude;  // degrees
  double PilotLongitude;
  double PilotAltitude;  // metres
  double PilotPitch;     // degrees
  double PilotHeading;
  double PilotBank;
  double PilotHeadPitch;
  double PilotEyeHeight;  // metres
  double PilotZoom;
  double AircraftGroundAltitude;  // metres
  double PilotHeadBob;
  double PilotForwardSpeed;  // metres per second
  double PilotSideSpeed;
};

// Written only by the walking pilot and the verbs below.
extern const WalkingPilotRecord& WalkingPilot;

// How the pilot goes this frame: what the footsteps go by.
struct PilotGait {
  bool walking;  // out of the aircraft with a movement key held
  bool running;  // SHIFT held as he last moved
};

// The pilot's frame in the host's current `view` (as the frame's view update
// found it): his view begins beside the `aircraft`, moves by the tick's step
// and ends here (nothing without a current view).
PilotGait UpdateWalkingPilot(const CockpitTickRecord& tick, const AircraftStateRecord& aircraft,
                             HostAddress view);

// Makes the host's current view the virtual cockpit (kind 2); 0 without a current view.
int SwitchToVirtualCockpit();

// The pilot's head turned by these degrees (its pitch as the frame limits it)
// and his view zoomed to `zoom`: the pilot's view is rebuilt every frame.
void TurnPilotHead(double heading, double pitch);
void ZoomPilotView(double zoom);
// The pilot stands where a preset put him, in degrees and metres, and looks
// so, from the next frame on.
void PlacePilot(const DegreePosition& position, const Angles& orientation, double zoom);

// The pilot's record zeroed, as start-up and a freshly loaded module have it.
void ClearWalkingPilot();

// A position in degrees (latitude, longitude, altitude) moved by offset.x metres
// east and offset.z metres north; longitude within -180 to 180.
DegreePosition OffsetPositionDegrees(const DegreePosition& start, const Vec3& offset);

}  // namespace varolen
