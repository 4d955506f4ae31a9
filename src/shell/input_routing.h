// The host's key and mouse messages, decoded once into typed input events and
// handed to the mouse handlers and the key bindings.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

namespace varolen {

// Nonzero: the message was consumed.
int RouteCockpitInput(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam);

}  // namespace varolen
