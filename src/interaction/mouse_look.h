// Mouse look, wheel zoom and the pointer over the virtual cockpit.
#pragma once

#include <cstdint>

#include "cockpit/cockpit_controller.h"
#include "platform/desktop.h"

namespace varolen {

void ToggleMouseLook(CockpitControllerRecord& controller);
// Nonzero when the message was consumed.
int OnMouseMove(CockpitControllerRecord& controller, platform::WindowHandle window, std::uintptr_t wParam,
                std::intptr_t lParam);
int OnMouseWheel(CockpitControllerRecord& controller, platform::WindowHandle window, std::uintptr_t wParam,
                 std::intptr_t lParam);

}  // namespace varolen
