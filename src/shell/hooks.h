// The two thread hooks through which the module sees the host's messages, and
// the router that decides what each message does.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

namespace varolen {

// Hook procedures: a consumed message has its window and number zeroed, so the
// host sees WM_NULL with no window.
std::intptr_t CallWndProcHook(int code, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t GetMessageHook(int code, std::uintptr_t wParam, std::intptr_t lParam);

// Where the router sends a message. The frame message runs the frame update
// first, whatever its route.
enum class MessageRoute { None, CockpitInput, BuildMenu, MenuCommand };
MessageRoute RouteOf(platform::WindowHandle window, std::uint32_t message);

// Nonzero: the message is consumed and hidden from the host.
int MessageRouter(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                  std::intptr_t lParam);

}  // namespace varolen
