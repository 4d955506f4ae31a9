// Routing of the host's key and mouse messages into the cockpit controller.
#pragma once

#include <cstdint>

#include "cockpit/cockpit_controller.h"
#include "platform/desktop.h"

namespace varolen {

// Nonzero: the message was consumed.
int RouteCockpitInput(CockpitControllerRecord& controller, platform::WindowHandle window,
                      std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace varolen
