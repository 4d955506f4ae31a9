#include "interaction/mouse_look.h"

#include <algorithm>
#include <cstring>

#include "cockpit/pick_ray.h"
#include "cockpit/view_update.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/settings.h"
#include "interaction/click_areas.h"
#include "interaction/walking_pilot.h"
#include "maths/view_math.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

constexpr double kCockpitLookRate = 0.15;  // degrees per pixel, divided by the zoom
constexpr double kSpotLookRate = 0.3;      // degrees per pixel
constexpr double kZoomStep = 0.2;          // of the zoom per notch
constexpr double kLeastZoom = 0.25;
constexpr double kMostZoom = 16.0;

// A zoom one wheel turn further, within the zoom range.
double Wheeled(double zoom, double notches) {
  zoom = zoom + zoom * kZoomStep * notches;
  if (zoom < kLeastZoom) zoom = kLeastZoom;
  if (zoom > kMostZoom) zoom = kMostZoom;
  return zoom;
}

int LookWithMouse(MouseRecord& mouse, std::int32_t kind) {
  const CockpitViewRecord& view = CockpitViewState;
  std::int32_t x = 0, y = 0;
  platform::CursorPosition(x, y);
  if (mouse.LastCursorX == 0 && mouse.LastCursorY == 0) {
    // The first move only sets the anchor.
    mouse.LastCursorX = x;
    mouse.LastCursorY = y;
    mouse.CursorOverClickArea = false;
    return 1;
  }
  const double dx = static_cast<double>(x) - mouse.LastCursorX;
  const double dy = static_cast<double>(y) - mouse.LastCursorY;
  if (CameraSettings.ExternalViewActive) {
    // The walking pilot's head turns at the rate of the virtual cockpit's zoom.
    TurnPilotHead(dx * kCockpitLookRate / view.Zoom, dy * kCockpitLookRate / view.Zoom);
  } else if (kind == kVirtualCockpitView) {
    TurnCockpitView(dx * kCockpitLookRate / view.Zoom, dy * kCockpitLookRate / view.Zoom);
  } else if (kind == kSpotView && CameraSettings.UseMouseInSpot) {
    TurnSpotView(dx * kSpotLookRate, -(dy * kSpotLookRate));
  }
  UpdateCockpitView(CockpitTick, AircraftState, false, mouse.CursorOverClickArea);
  mouse.LastCursorX = x;
  mouse.LastCursorY = y;
  mouse.CursorOverClickArea = false;
  return 1;
}

int ShowClickAreas(MouseRecord& mouse, HostAddress view, const InputEvent& event) {
  const HostAddress list = FindModelSection("EVNT");
  if (list == 0) return 0;
  std::int32_t width = 0, height = 0;
  platform::ClientSize(event.window, width, height);
  std::uint8_t record[kHostViewRecordSize];
  platform::ReadHostBytes(view, record, kHostViewRecordSize);
  ComputePickRay(record, width, height, event.x, event.y, mouse.PickRay);
  const std::uint32_t area = FindClickArea(mouse.PickRay, list);
  SetPointerShape(area);
  mouse.CursorOverClickArea = area != 0;
  return 1;
}

}  // namespace

namespace {
MouseRecord mouseState;
}  // namespace

const MouseRecord& Mouse = mouseState;

void ToggleMouseLook() {
  if (mouseState.MouseLookOn) {
    mouseState.MouseLookOn = false;
    // The next mouse look starts with a fresh anchor.
    mouseState.LastCursorX = 0;
    mouseState.LastCursorY = 0;
  } else {
    mouseState.MouseLookOn = true;
  }
}

int OnMouseMove(const InputEvent& event) {
  const HostAddress view = FindCurrentView();
  if (view == 0) return 0;
  const std::int32_t kind = ViewKindOf(view);
  if (!IsPilotView(kind)) return 0;
  if (mouseState.MouseLookOn) return LookWithMouse(mouseState, kind);
  return ShowClickAreas(mouseState, view, event);
}

int OnMouseWheel(const InputEvent& event) {
  const HostAddress view = FindCurrentView();
  if (view == 0) return 0;
  const CockpitViewRecord& cockpit = CockpitViewState;
  const std::int32_t kind = ViewKindOf(view);
  if (kind == kVirtualCockpitView && CameraSettings.EnableWheelZoom) {
    ZoomCockpitView(Wheeled(cockpit.Zoom, event.notches));
    UpdateCockpitView(CockpitTick, AircraftState, false, mouseState.CursorOverClickArea);
  } else if (kind == kSpotView && CameraSettings.UseMouseInSpot) {
    ZoomSpotView(Wheeled(cockpit.SpotZoom, event.notches));
    UpdateCockpitView(CockpitTick, AircraftState, false, mouseState.CursorOverClickArea);
  } else if (kind == kWalkingPilotView && CameraSettings.ExternalViewActive) {
    ZoomPilotView(Wheeled(WalkingPilot.PilotZoom, event.notches));
  } else {
    return 0;  // a wheel that zooms nothing of the module's is the simulator's
  }
  return 1;
}

void ForgetMouse() {
  // Zero bytes, padding and all, so that equal records are equal bytes.
  // cppcheck-suppress memsetClassFloat
  std::memset(&mouseState, 0, sizeof mouseState);
}

}  // namespace varolen
