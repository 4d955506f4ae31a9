#include "scene.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

constexpr double kFeet = 0.3048;
constexpr double kRunwayBehind = 300.0;  // metres of runway behind where the aircraft starts its roll
// The host's view window, which the pointer's pixels count in.
constexpr double kWindowWidth = 800.0, kWindowHeight = 560.0;
constexpr double kCameraOverGround = 0.3;  // metres
constexpr double kAircraftMiddle = 1.0;    // metres above the wheels, where outside views aim

// The pointer where the user last moved it, with the shape the module gave it.
View::Pointer PointerOf(const Scene& scene, const TraceFrame& frame) {
  const PointerAt* pointer = nullptr;
  for (const PointerAt& at : scene.pointers) {
    if (at.time <= frame.time + 1e-6) pointer = &at;
  }
  if (pointer == nullptr) return {};
  return {true, pointer->x / kWindowWidth - 0.5,
          (0.5 - pointer->y / kWindowHeight) * kWindowHeight / kWindowWidth, frame.pointer >= 1};
}

}  // namespace

Scene SceneOf(const simhost::Scenario& scenario) {
  Scene scene;
  const simhost::Keyframe& start = scenario.path.front();
  scene.reference = {start.latitude, start.longitude};
  scene.groundMetres = start.groundElevation * kFeet;
  bool rolling = false;
  for (const simhost::Keyframe& frame : scenario.path) {
    const bool starts = frame.onGround && !rolling;
    rolling = frame.onGround;
    if (!starts) continue;
    const double h = frame.heading * 3.14159265358979323846 / 180.0;
    const Vec direction = {std::sin(h), 0, -std::cos(h)};
    const Vec at = scene.reference.Local(frame.latitude, frame.longitude, frame.groundElevation * kFeet);
    bool known = false;
    for (const Runway& runway : scene.runways) {
      const Vec off = at - runway.start;
      const double along = Dot(off, runway.direction);
      known |= Dot(direction, runway.direction) > 0.99 && along > 0 && along < kRunwayLength &&
               std::fabs(Dot(off, {-runway.direction.z, 0, runway.direction.x})) < kRunwayWidth / 2;
    }
    if (!known) scene.runways.push_back({at - direction * kRunwayBehind, direction});
  }
  for (const simhost::SceneryObject& object : scenario.objects) {
    scene.boxes.push_back({scene.reference.Local(object.latitude, object.longitude, object.base),
                           {object.size[0], object.size[1], object.size[2]},
                           object.heading,
                           object.ramp});
  }
  for (const simhost::ClickAreaSpec& area : scenario.clickAreas)
    scene.clickAreas.push_back({{area.centre[0], area.centre[1], area.centre[2]}, area.radius});
  for (const simhost::InputEvent& input : scenario.inputs) {
    if (input.kind == simhost::InputKind::MouseMove) scene.pointers.push_back({input.time, input.x, input.y});
  }
  return scene;
}

View ViewOf(const Scene& scene, const TraceFrame& frame) {
  View view;
  view.aircraft = scene.reference.Local(frame.latitude, frame.longitude, frame.altitude * kFeet);
  view.aircraftAxes = AircraftAxes(frame.heading, frame.pitch, frame.bank);
  const Basis& body = view.aircraftAxes;
  if (frame.viewKind == 1 || frame.viewKind == 2) {
    view.inCockpit = true;
    const Vec eye = body.right * frame.eye[0] + body.up * frame.eye[1] + body.forward * frame.eye[2];
    view.eyeInAircraft = {frame.eye[0], frame.eye[1], frame.eye[2]};
    view.camera = {view.aircraft + eye, ViewAxes(body, frame.viewHeading, frame.viewPitch, frame.viewBank),
                   frame.zoom > 0 ? frame.zoom : 1.0};
    view.pointer = PointerOf(scene, frame);
  } else if (frame.viewKind == 1250) {
    view.camera = {scene.reference.Local(frame.pilotLatitude, frame.pilotLongitude, frame.pilotAltitude),
                   ViewAxes(WorldAxes(), frame.viewHeading, frame.viewPitch, 0.0), 1.0};
  } else if ((frame.flyBy || frame.approach) &&
             (frame.observerLatitude != 0 || frame.observerLongitude != 0)) {
    Vec observer =
        scene.reference.Local(frame.observerLatitude, frame.observerLongitude, frame.observerAltitude);
    // The host keeps its camera above the ground (the observer's altitude is
    // whole metres, so a camera on the ground may lie up to a metre under it).
    const double lowest = scene.groundMetres + kCameraOverGround;
    view.belowGround = std::max(0.0, lowest - observer.y);
    observer.y = std::max(observer.y, lowest);
    view.camera = LookingAt(observer, view.aircraft + Vec{0, kAircraftMiddle, 0}, 1.0);
  } else {
    // No observer of the module's: the host's spot view, behind and above.
    const Vec behind = Unit({body.forward.x, 0, body.forward.z}) * -30.0;
    view.camera =
        LookingAt(view.aircraft + behind + Vec{0, 8, 0}, view.aircraft + Vec{0, kAircraftMiddle, 0}, 1.0);
  }
  return view;
}

}  // namespace render
