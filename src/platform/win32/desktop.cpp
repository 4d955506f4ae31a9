// Windows, message boxes, thread hooks and menus through USER32.
#include "platform/desktop.h"

#include <windows.h>

#include <cstddef>

namespace varolen::platform {

// The core's records must be the system's own.
static_assert(sizeof(SentMessageRecord) == sizeof(CWPSTRUCT));
static_assert(offsetof(SentMessageRecord, lParam) == offsetof(CWPSTRUCT, lParam));
static_assert(offsetof(SentMessageRecord, wParam) == offsetof(CWPSTRUCT, wParam));
static_assert(offsetof(SentMessageRecord, message) == offsetof(CWPSTRUCT, message));
static_assert(offsetof(SentMessageRecord, window) == offsetof(CWPSTRUCT, hwnd));
static_assert(offsetof(QueuedMessageRecord, window) == offsetof(MSG, hwnd));
static_assert(offsetof(QueuedMessageRecord, message) == offsetof(MSG, message));
static_assert(offsetof(QueuedMessageRecord, wParam) == offsetof(MSG, wParam));
static_assert(offsetof(QueuedMessageRecord, lParam) == offsetof(MSG, lParam));
static_assert(offsetof(QueuedMessageRecord, time) == offsetof(MSG, time));
static_assert(offsetof(QueuedMessageRecord, pointX) == offsetof(MSG, pt));

namespace {

HWND Window(WindowHandle window) { return reinterpret_cast<HWND>(window); }
HMENU Menu(MenuHandle menu) { return reinterpret_cast<HMENU>(menu); }

// The system calls hooks with its own calling convention; these forward to the
// core's procedures and keep any exception from unwinding into the host.
HookProcedure hookProcedures[2];
HHOOK hookHandles[2];

template <int Slot>
LRESULT CALLBACK HookThunk(int code, WPARAM wParam, LPARAM lParam) {
  try {
    return hookProcedures[Slot](code, wParam, lParam);
  } catch (...) {
    return CallNextHookEx(hookHandles[Slot], code, wParam, lParam);
  }
}

}  // namespace

WindowHandle FindTopLevelWindow(const char* className) {
  return reinterpret_cast<WindowHandle>(FindWindowA(className, nullptr));
}

void WindowClassName(WindowHandle window, char* buffer, int capacity) {
  if (capacity <= 0) return;
  buffer[0] = '\0';
  if (window != 0 && GetClassNameA(Window(window), buffer, capacity) == 0) buffer[0] = '\0';
}

bool KeyHeld(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

bool KeyToggled(int virtualKey) { return (GetKeyState(virtualKey) & 1) != 0; }

void CursorPosition(std::int32_t& x, std::int32_t& y) {
  POINT point = {0, 0};
  GetCursorPos(&point);
  x = point.x;
  y = point.y;
}

void ClientSize(WindowHandle window, std::int32_t& width, std::int32_t& height) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(Window(window), &client);
  width = client.right - client.left;
  height = client.bottom - client.top;
}

void ShowPointer(PointerShape shape) {
  // The host's shape codes 2, 3 and 4 have no cursors of their own in the module:
  // the system's sizing cursors stand for them.
  const char* cursor = IDC_ARROW;
  switch (shape) {
    case PointerShape::Arrow:
      break;
    case PointerShape::Hand:
      cursor = IDC_HAND;
      break;
    case PointerShape::ShapeA:
      cursor = IDC_SIZEWE;
      break;
    case PointerShape::ShapeB:
      cursor = IDC_SIZENS;
      break;
    case PointerShape::ShapeC:
      cursor = IDC_SIZEALL;
      break;
  }
  SetCursor(LoadCursorA(nullptr, cursor));
}

void CaptureMouse(WindowHandle window) { SetCapture(Window(window)); }

void ReleaseMouse() { ReleaseCapture(); }

void ShowMessageBox(const char* text) { MessageBoxA(nullptr, text, nullptr, MB_OK); }

HookHandle InstallThreadHook(HookKind kind, HookProcedure procedure, std::uint32_t threadId) {
  const int slot = kind == HookKind::CallWndProc ? 0 : 1;
  hookProcedures[slot] = procedure;
  const HHOOK hook =
      kind == HookKind::CallWndProc
          ? SetWindowsHookExA(WH_CALLWNDPROC, HookThunk<0>, GetModuleHandleA(nullptr), threadId)
          : SetWindowsHookExA(WH_GETMESSAGE, HookThunk<1>, GetModuleHandleA(nullptr), threadId);
  hookHandles[slot] = hook;
  return reinterpret_cast<HookHandle>(hook);
}

void RemoveThreadHook(HookHandle hook) { UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)); }

std::intptr_t CallNextHook(HookHandle hook, int code, std::uintptr_t wParam, std::intptr_t lParam) {
  return CallNextHookEx(reinterpret_cast<HHOOK>(hook), code, wParam, lParam);
}

MenuHandle CreatePopupMenu() { return reinterpret_cast<MenuHandle>(::CreatePopupMenu()); }

void AppendMenuText(MenuHandle menu, std::uint32_t id, const char* text, bool checked) {
  AppendMenuA(Menu(menu), MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id, text);
}

void AppendMenuSeparator(MenuHandle menu) { AppendMenuA(Menu(menu), MF_SEPARATOR, 0, nullptr); }

void AppendSubMenu(MenuHandle menu, MenuHandle popup, const char* text) {
  AppendMenuA(Menu(menu), MF_POPUP | MF_STRING, static_cast<UINT_PTR>(popup), text);
}

MenuHandle WindowMenuBar(WindowHandle window) {
  return reinterpret_cast<MenuHandle>(GetMenu(Window(window)));
}

MenuHandle SubMenuAt(MenuHandle menu, int position) {
  return reinterpret_cast<MenuHandle>(GetSubMenu(Menu(menu), position));
}

int MenuItemCount(MenuHandle menu) { return GetMenuItemCount(Menu(menu)); }

bool MenuItemIsSeparator(MenuHandle menu, int position) {
  const UINT state = GetMenuState(Menu(menu), static_cast<UINT>(position), MF_BYPOSITION);
  return state != static_cast<UINT>(-1) && (state & MF_SEPARATOR) != 0;
}

void RemoveMenuItem(MenuHandle menu, int position) {
  RemoveMenu(Menu(menu), static_cast<UINT>(position), MF_BYPOSITION);
}

void DestroyPopupMenu(MenuHandle menu) { DestroyMenu(Menu(menu)); }

}  // namespace varolen::platform
