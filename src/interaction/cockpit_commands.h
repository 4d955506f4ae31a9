// The mouse and walking-pilot commands, offered a matched binding before the
// module's named commands.
#pragma once

#include <cstdint>

#include "cockpit/cockpit_controller.h"
#include "platform/desktop.h"

namespace varolen {

// Nonzero when the binding names one of these commands and it was carried out.
int RunCockpitCommand(CockpitControllerRecord& controller, KeyBinding& binding, platform::WindowHandle window,
                      std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace varolen
