// The desktop: windows, message boxes, thread hooks and menus of the host's
// user-interface thread.
#pragma once

#include <cstdint>

namespace varolen::platform {

using WindowHandle = std::uintptr_t;
using MenuHandle = std::uintptr_t;
using HookHandle = std::uintptr_t;

// The system's record of a sent message, as a WH_CALLWNDPROC hook receives it.
struct SentMessageRecord {
  std::intptr_t lParam;
  std::uintptr_t wParam;
  std::uint32_t message;
  WindowHandle window;
};

// The system's record of a queued message, as a WH_GETMESSAGE hook receives it.
struct QueuedMessageRecord {
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  std::uint32_t time;
  std::int32_t pointX;
  std::int32_t pointY;
};

enum class HookKind { CallWndProc, GetMessage };

// The hook procedure's lParam points to a SentMessageRecord or a QueuedMessageRecord.
using HookProcedure = std::intptr_t (*)(int code, std::uintptr_t wParam, std::intptr_t lParam);

// The top-level window of the class, any title; 0 when there is none.
WindowHandle FindTopLevelWindow(const char* className);
// The window's class name into `buffer` (always terminated; empty for no window).
void WindowClassName(WindowHandle window, char* buffer, int capacity);

// Whether the key is down at this moment (the top bit of GetAsyncKeyState).
bool KeyHeld(int virtualKey);
// Whether a toggle key (Num Lock) is on for the thread (the low bit of GetKeyState).
bool KeyToggled(int virtualKey);
// The pointer's position on the screen (GetCursorPos).
void CursorPosition(std::int32_t& x, std::int32_t& y);
// The size of the window's client area in pixels.
void ClientSize(WindowHandle window, std::int32_t& width, std::int32_t& height);

// Pointer shapes the module shows over the virtual cockpit.
enum class PointerShape { Arrow, Hand, ShapeA, ShapeB, ShapeC };
void ShowPointer(PointerShape shape);

// Mouse capture for a window, and its release.
void CaptureMouse(WindowHandle window);
void ReleaseMouse();

// A message box with no owner, the system's default title and an OK button.
void ShowMessageBox(const char* text);

// Hooks of one thread, with the host process's module as the hook module. 0 on failure.
HookHandle InstallThreadHook(HookKind kind, HookProcedure procedure, std::uint32_t threadId);
void RemoveThreadHook(HookHandle hook);
std::intptr_t CallNextHook(HookHandle hook, int code, std::uintptr_t wParam, std::intptr_t lParam);

// Menus. Failures are ignored by the callers, so these report nothing.
MenuHandle CreatePopupMenu();
void AppendMenuText(MenuHandle menu, std::uint32_t id, const char* text, bool checked);
void AppendMenuSeparator(MenuHandle menu);
void AppendSubMenu(MenuHandle menu, MenuHandle popup, const char* text);
MenuHandle WindowMenuBar(WindowHandle window);
// The pop-up at `position`, 0 when that item is not a pop-up or does not exist.
MenuHandle SubMenuAt(MenuHandle menu, int position);
int MenuItemCount(MenuHandle menu);
bool MenuItemIsSeparator(MenuHandle menu, int position);
// Takes the item out of the menu without destroying a pop-up it holds.
void RemoveMenuItem(MenuHandle menu, int position);
void DestroyPopupMenu(MenuHandle menu);

}  // namespace varolen::platform
