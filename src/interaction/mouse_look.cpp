#include "interaction/mouse_look.h"

#include <algorithm>
#include <cstring>

#include "cockpit/host_view.h"
#include "cockpit/pick_ray.h"
#include "cockpit/view_update.h"
#include "interaction/click_areas.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

constexpr double kCockpitLookRate = 0.15;  // degrees per pixel, divided by the zoom
constexpr double kSpotLookRate = 0.3;      // degrees per pixel
constexpr double kMostSpotPitch = 89.9;    // degrees
constexpr double kZoomStep = 0.2;          // of the zoom per notch
constexpr double kWheelNotch = 120.0;
constexpr double kLeastZoom = 0.25;
constexpr double kMostZoom = 16.0;

std::int32_t ViewKindOf(HostAddress record) {
  return platform::ReadHost<std::int32_t>(record + view_record::kKind);
}

bool TakesMouse(std::int32_t kind) {
  return kind == kVirtualCockpitView || kind == kSpotView || kind == kWalkingPilotView;
}

// A zoom one wheel turn further, within the zoom range.
void Wheel(double& zoom, double notches) {
  zoom = zoom + zoom * kZoomStep * notches;
  if (zoom < kLeastZoom) zoom = kLeastZoom;
  if (zoom > kMostZoom) zoom = kMostZoom;
}

void KeepCockpitView(CockpitControllerRecord& c) {
  // So that the view update does not glide back.
  c.TargetEyePosition = c.EyePosition;
  c.TargetViewAngles = c.ViewAngles;
  c.TargetZoom = c.Zoom;
}

int LookWithMouse(CockpitControllerRecord& c, std::int32_t kind) {
  std::int32_t x = 0, y = 0;
  platform::CursorPosition(x, y);
  if (c.LastCursorX == 0 && c.LastCursorY == 0) {
    // The first move only sets the anchor.
    c.LastCursorX = x;
    c.LastCursorY = y;
    c.CursorOverClickArea = 0;
    return 1;
  }
  const double dx = static_cast<double>(x) - c.LastCursorX;
  const double dy = static_cast<double>(y) - c.LastCursorY;
  if (c.PilotActive != 0) {
    // The walking pilot's head turns at the rate of the virtual cockpit's zoom.
    c.PilotHeading += dx * kCockpitLookRate / c.Zoom;
    c.PilotHeadPitch += dy * kCockpitLookRate / c.Zoom;
  } else if (kind == kVirtualCockpitView) {
    c.ViewAngles.heading += dx * kCockpitLookRate / c.Zoom;
    c.ViewAngles.pitch += dy * kCockpitLookRate / c.Zoom;
    KeepCockpitView(c);
  } else if (kind == kSpotView && c.UseMouseInSpot != 0) {
    c.SpotHeading += dx * kSpotLookRate;
    // Up to straight above or below, not over the top and down the other side.
    c.SpotPitch = std::clamp(c.SpotPitch - dy * kSpotLookRate, -kMostSpotPitch, kMostSpotPitch);
  }
  UpdateCockpitView(c, 0);
  c.LastCursorX = x;
  c.LastCursorY = y;
  c.CursorOverClickArea = 0;
  return 1;
}

int ShowClickAreas(CockpitControllerRecord& c, HostAddress view, platform::WindowHandle window,
                   std::intptr_t lParam) {
  const HostAddress list = FindModelSection(c, "EVNT");
  if (list == 0) return 0;
  std::int32_t width = 0, height = 0;
  platform::ClientSize(window, width, height);
  const auto position = static_cast<std::uint32_t>(lParam);
  std::uint8_t record[kHostViewRecordSize];
  platform::ReadHostBytes(view, record, kHostViewRecordSize);
  ComputePickRay(record, width, height, position & 0xFFFF, (position >> 16) & 0xFFFF, c.PickRay);
  const std::uint32_t area = FindClickArea(c, list);
  SetPointerShape(area);
  c.CursorOverClickArea = area != 0 ? 1 : 0;
  return 1;
}

}  // namespace

void ToggleMouseLook(CockpitControllerRecord& controller) {
  if (controller.MouseLookOn != 0) {
    controller.MouseLookOn = 0;
    // The next mouse look starts with a fresh anchor.
    controller.LastCursorX = 0;
    controller.LastCursorY = 0;
  } else {
    controller.MouseLookOn = 1;
  }
}

int OnMouseMove(CockpitControllerRecord& controller, platform::WindowHandle window, std::uintptr_t /*wParam*/,
                std::intptr_t lParam) {
  const HostAddress view = FindCurrentView(controller);
  if (view == 0) return 0;
  const std::int32_t kind = ViewKindOf(view);
  if (!TakesMouse(kind)) return 0;
  if (controller.MouseLookOn != 0) return LookWithMouse(controller, kind);
  return ShowClickAreas(controller, view, window, lParam);
}

int OnMouseWheel(CockpitControllerRecord& controller, platform::WindowHandle /*window*/,
                 std::uintptr_t wParam, std::intptr_t /*lParam*/) {
  const HostAddress view = FindCurrentView(controller);
  if (view == 0) return 0;
  const double notches = static_cast<std::int16_t>((wParam >> 16) & 0xFFFF) / kWheelNotch;
  const std::int32_t kind = ViewKindOf(view);
  if (kind == kVirtualCockpitView && controller.EnableWheelZoom != 0) {
    Wheel(controller.Zoom, notches);
    KeepCockpitView(controller);
    UpdateCockpitView(controller, 0);
  } else if (kind == kSpotView && controller.UseMouseInSpot != 0) {
    Wheel(controller.SpotZoom, notches);
    UpdateCockpitView(controller, 0);
  } else if (kind == kWalkingPilotView && controller.PilotActive != 0) {
    Wheel(controller.PilotZoom, notches);  // the pilot's view is rebuilt every frame
  } else {
    return 0;  // a wheel that zooms nothing of the module's is the simulator's
  }
  return 1;
}

}  // namespace varolen
