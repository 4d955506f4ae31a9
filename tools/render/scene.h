// The world the renderer draws for a scenario, and the view of each frame.
#pragma once

#include <vector>

#include "camera.h"
#include "scenario.h"
#include "trace.h"

namespace render {

struct Box {
  Vec centre;      // of its footprint, on its base
  double size[3];  // metres: east-west, height, north-south before its heading turns it
  double heading;  // degrees
  bool ramp;       // rising from its south edge to its north edge
};

// A click area of the cockpit: a sphere in the aircraft's frame (eye units as
// metres: x right, y up, z forward).
struct ClickArea {
  Vec centre;
  double radius;
};

struct PointerAt {
  double time;
  int x, y;  // client pixels of the host's view window
};

inline constexpr double kRunwayLength = 2400.0, kRunwayWidth = 45.0;  // metres

struct Runway {
  Vec start;      // its threshold
  Vec direction;  // along it, level
};

struct Scene {
  Reference reference;
  double groundMetres = 0;
  std::vector<Runway> runways;
  std::vector<Box> boxes;
  std::vector<ClickArea> clickAreas;
  std::vector<PointerAt> pointers;
};

// The world of a scenario: the ground at the start's elevation, a runway
// under every stretch the aircraft rolls on the ground (its take-off, its
// landing), its scenery and click areas.
Scene SceneOf(const simhost::Scenario& scenario);

struct View {
  Camera camera;
  bool inCockpit = false;  // the virtual cockpit (or the panel view): drawn from inside
  Vec aircraft;            // the aircraft's reference point (its wheels)
  Basis aircraftAxes;
  Vec eyeInAircraft;       // the cockpit's eye in the aircraft's frame
  double belowGround = 0;  // metres the observer lay under the ground, where the host lifts it
  // The mouse pointer over the cockpit, where the host's window shows it: on
  // the image plane, across the width from -0.5 to 0.5 and up in the same
  // units; the hand where the module showed the click-area shape.
  struct Pointer {
    bool shown = false;
    double across = 0, up = 0;
    bool hand = false;
  } pointer;
};

// What the host shows for the frame's current view: the virtual cockpit from
// the eye, the walking pilot's eye, or outside: from the module's observer
// when a camera of the module placed it, else from behind the aircraft.
View ViewOf(const Scene& scene, const TraceFrame& frame);

}  // namespace render
