// Matching input events against the key bindings and running their commands.
#pragma once

#include <cstdint>

#include "cockpit/cockpit_controller.h"
#include "platform/desktop.h"

namespace varolen {

// Runs every binding that matches the event: a press those of its code and
// exact modifiers, a release every binding of its code that a press made
// active; 1 when at least one of them consumed it. The message is passed on unchanged
// to the mouse and pilot commands.
int MatchBindings(CockpitControllerRecord& controller, KeyBindingTable& table, platform::WindowHandle window,
                  std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::uint32_t code,
                  std::uint32_t modifiers, int pressed);

}  // namespace varolen
