#include "shell/input_routing.h"

#include <cstring>

#include "host/frame_input.h"
#include "host/host_layout.h"
#include "host/input_event.h"
#include "host/keyboard.h"
#include "input/binding_matcher.h"
#include "input/key_bindings.h"
#include "input/key_names.h"
#include "interaction/mouse_look.h"

namespace varolen {

namespace {

constexpr double kWheelNotch = 120.0;

bool ClassIs(platform::WindowHandle window, const char* wanted, const char* alternative = nullptr) {
  char name[128];
  platform::WindowClassName(window, name, sizeof name);
  return std::strcmp(name, wanted) == 0 || (alternative != nullptr && std::strcmp(name, alternative) == 0);
}

// The button's code and whether it is a press; false for messages that are no button.
bool ButtonEvent(std::uint32_t message, std::uint32_t& code, bool& pressed) {
  switch (message) {
    case kLeftButtonDown:
    case kLeftButtonUp:
      code = kLeftMouseButtonCode;
      pressed = message == kLeftButtonDown;
      return true;
    case kRightButtonDown:
    case kRightButtonUp:
      code = kRightMouseButtonCode;
      pressed = message == kRightButtonDown;
      return true;
    case kMiddleButtonDown:
    case kMiddleButtonUp:
      code = kMiddleMouseButtonCode;
      pressed = message == kMiddleButtonDown;
      return true;
    default:
      return false;
  }
}

// The modifier keys held at the moment of routing, not when the message was made.
std::uint32_t ModifiersHeld() {
  return (platform::KeyHeld(kShiftKey) ? kModifierShift : 0u) |
         (platform::KeyHeld(kControlKey) ? kModifierControl : 0u) |
         (platform::KeyHeld(kAltKey) ? kModifierAlt : 0u);
}

}  // namespace

int RouteCockpitInput(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) {
  InputEvent event = {};
  event.window = window;
  bool pressed = false;
  DecodedKey key = {};
  const bool button = ButtonEvent(message, event.code, pressed);
  if (button || message == kMouseMove || message == kMouseWheel) {
    // Only the host's view windows take part in mouse interaction.
    if (!ClassIs(window, kHostViewWindowClass)) return 0;
  } else if (message == kKeyDown || message == kKeyUp) {
    if (!ClassIs(window, kHostMainWindowClass, kHostViewWindowClass)) return 0;
    key = DecodeKey(wParam, lParam, platform::KeyToggled(kNumLockKey));
    event.code = key.code;
    pressed = message == kKeyDown;
    NoteNumberPadKey(key, pressed);
  } else {
    return 0;
  }
  // A command, the wheel or the mouse look may move the view between frames:
  // it moves with the aircraft as the host gives it now, not as the last frame
  // saw it. A pointer that only shows click areas moves nothing.
  const bool mayMoveView = message != kMouseMove || Mouse.MouseLookOn;
  if (mayMoveView && AircraftSnapshotTaken()) TakeAircraftSnapshot(true);
  if (message == kMouseMove) {
    // The pointer in client pixels, each half of lParam unsigned.
    const auto position = static_cast<std::uint32_t>(lParam);
    event.kind = InputKind::PointerMove;
    event.x = static_cast<std::int32_t>(position & 0xFFFF);
    event.y = static_cast<std::int32_t>((position >> 16) & 0xFFFF);
    return OnMouseMove(event);
  }
  if (message == kMouseWheel) {
    event.kind = InputKind::Wheel;
    event.notches = static_cast<std::int16_t>((wParam >> 16) & 0xFFFF) / kWheelNotch;
    return OnMouseWheel(event);
  }
  event.kind = pressed ? InputKind::Press : InputKind::Release;
  // Windows reads SHIFT up around a number-pad key it translated for it.
  event.modifiers = ModifiersHeld() | (key.shiftedByWindows ? kModifierShift : 0u);
  const int consumed = MatchModuleBindings(event);
  // A bound button keeps the mouse until its release.
  if (consumed != 0 && button) {
    if (pressed) {
      platform::CaptureMouse(window);
    } else {
      platform::ReleaseMouse();
    }
  }
  return consumed;
}

}  // namespace varolen
