#include "interaction/mouse_look.h"

namespace varolen {

// Mouse look and wheel zoom come with the mouse subsystem; until then the
// mouse is left to the host.
void ToggleMouseLook(CockpitControllerRecord& /*controller*/) {}

int OnMouseMove(CockpitControllerRecord& /*controller*/, platform::WindowHandle /*window*/,
                std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
  return 0;
}

int OnMouseWheel(CockpitControllerRecord& /*controller*/, platform::WindowHandle /*window*/,
                 std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
  return 0;
}

}  // namespace varolen
