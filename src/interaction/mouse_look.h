// Mouse look, wheel zoom and the pointer over the virtual cockpit.
#pragma once

#include <cstdint>

#include "host/input_event.h"

namespace varolen {

struct MouseRecord {
  double PickRay[6];  // origin x, y, z, unit direction x, y, z
  bool MouseLookOn;
  bool CursorOverClickArea;  // the pointer rests on a click area: the head motion holds still
  std::int32_t LastCursorX;  // screen pixels; both 0: no anchor yet
  std::int32_t LastCursorY;
};

extern const MouseRecord& Mouse;
// The mouse as a freshly loaded module has it: look off, no anchor.
void ForgetMouse();

void ToggleMouseLook();
// Nonzero when the event was consumed.
int OnMouseMove(const InputEvent& event);
int OnMouseWheel(const InputEvent& event);

}  // namespace varolen
