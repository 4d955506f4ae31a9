#include "win32/host_windows.h"

#include <string>

namespace simhost::win32 {

namespace {

// The message being delivered, and whether the window procedure saw it.
struct Delivery {
  UINT message = 0;
  bool arrived = false;
};
Delivery delivery;

LRESULT CALLBACK HostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (delivery.message != 0 && message == delivery.message) delivery.arrived = true;
  return DefWindowProcA(window, message, wParam, lParam);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

HostWindows::HostWindows(bool mainWindow, int menuPopups) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HostWindowProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "FS98MAIN";
  RegisterClassA(&windowClass);
  windowClass.lpszClassName = "FS98CHILD";
  RegisterClassA(&windowClass);
  if (mainWindow) {
    HMENU bar = CreateMenu();
    for (int index = 0; index < menuPopups; ++index) {
      HMENU popup = CreatePopupMenu();
      AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(100 + index), "Host item");
      AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                  ("Host pop-up " + std::to_string(index)).c_str());
    }
    main_ = CreateWindowA("FS98MAIN", "Substitute simulator", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                          bar, windowClass.hInstance, nullptr);
  }
  view_ = CreateWindowA("FS98CHILD", "View", main_ != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW,
                        0, 0, 800, 560, main_, nullptr, windowClass.hInstance, nullptr);
}

bool HostWindows::Post(Target target, UINT message, WPARAM wParam, LPARAM lParam) {
  delivery = {message, false};
  PostMessageA(Window(target), message, wParam, lParam);
  Pump();
  const bool consumed = !delivery.arrived;
  delivery = {};
  return consumed;
}

bool HostWindows::Send(Target target, UINT message, WPARAM wParam, LPARAM lParam) {
  delivery = {message, false};
  SendMessageA(Window(target), message, wParam, lParam);
  Pump();
  const bool consumed = !delivery.arrived;
  delivery = {};
  return consumed;
}

std::vector<MenuEntry> HostWindows::OpenModuleMenu() const {
  std::vector<MenuEntry> entries;
  if (main_ == nullptr) return entries;
  SendMessageA(main_, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(main_)), 0);
  const HMENU popup = GetSubMenu(GetMenu(main_), 3);
  const int count = popup != nullptr ? GetMenuItemCount(popup) : 0;
  const HMENU module = count > 0 ? GetSubMenu(popup, count - 1) : nullptr;
  if (module == nullptr) return entries;
  for (int position = 0; position < GetMenuItemCount(module); ++position) {
    const UINT state = GetMenuState(module, static_cast<UINT>(position), MF_BYPOSITION);
    char text[128] = "";
    GetMenuStringA(module, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    entries.push_back(
        {GetMenuItemID(module, position), text, (state & MF_CHECKED) != 0, (state & MF_SEPARATOR) != 0});
  }
  return entries;
}

int HostWindows::HostPopupItemCount() const {
  const HMENU popup = main_ != nullptr ? GetSubMenu(GetMenu(main_), 3) : nullptr;
  return popup != nullptr ? GetMenuItemCount(popup) : 0;
}

}  // namespace simhost::win32
