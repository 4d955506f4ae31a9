// The two thread hooks through which the module sees the host's messages, and
// the router that decides what each message does.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

namespace varolen {

// Window messages the router looks at.
inline constexpr std::uint32_t kKeyDown = 0x100;
inline constexpr std::uint32_t kKeyUp = 0x101;
inline constexpr std::uint32_t kInitMenu = 0x116;
inline constexpr std::uint32_t kCommand = 0x111;
inline constexpr std::uint32_t kMouseMove = 0x200;
inline constexpr std::uint32_t kLeftButtonDown = 0x201;
inline constexpr std::uint32_t kLeftButtonUp = 0x202;
inline constexpr std::uint32_t kRightButtonDown = 0x204;
inline constexpr std::uint32_t kRightButtonUp = 0x205;
inline constexpr std::uint32_t kMiddleButtonDown = 0x207;
inline constexpr std::uint32_t kMiddleButtonUp = 0x208;
inline constexpr std::uint32_t kMouseWheel = 0x20A;

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
