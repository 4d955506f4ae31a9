// A recorded desktop: windows by class, message boxes, the two thread hooks and menus.
#include <cstdio>
#include <map>

#include "platform/desktop.h"
#include "platform/sim/sim_state.h"

namespace varolen {

namespace sim {
namespace {

struct Menu {
  std::vector<MenuItem> items;
  bool destroyed = false;
};

struct Window {
  std::string className;
  MenuHandle menuBar = 0;
  std::int32_t width = 800, height = 560;
};

struct Hook {
  platform::HookProcedure procedure = nullptr;
  bool failInstallation = false;
  int nextHookCalls = 0;
};

struct DesktopState {
  std::map<WindowHandle, Window> windows;
  bool keys[256] = {};
  // Toggle keys: Num Lock is on, as a desktop usually starts.
  bool toggledKeys[256] = {};
  DesktopState() { toggledKeys[0x90] = true; }
  WindowHandle captured = 0;
  std::int32_t cursorX = 0, cursorY = 0;
  int pointer = -1;
  std::map<MenuHandle, Menu> menus;
  Hook hooks[2];
  std::vector<std::string> messageBoxes;
  std::uintptr_t nextHandle = 0x1000;
};

DesktopState& State() {
  static DesktopState state;
  return state;
}

Hook& HookOf(HookKind kind) { return State().hooks[kind == HookKind::CallWndProc ? 0 : 1]; }
const char* NameOf(HookKind kind) { return kind == HookKind::CallWndProc ? "CallWndProc" : "GetMessage"; }

// Hook handles are the kind plus one, so that 0 stays "no hook".
HookKind KindOfHandle(platform::HookHandle hook) {
  return hook == 1 ? HookKind::CallWndProc : HookKind::GetMessage;
}

Menu* LiveMenu(MenuHandle menu) {
  auto found = State().menus.find(menu);
  return found == State().menus.end() || found->second.destroyed ? nullptr : &found->second;
}

MenuHandle NewMenu() {
  const MenuHandle handle = State().nextHandle++;
  State().menus[handle] = Menu{};
  return handle;
}

void Destroy(MenuHandle handle) {
  Menu* menu = LiveMenu(handle);
  if (menu == nullptr) return;
  menu->destroyed = true;
  for (const MenuItem& item : menu->items) {
    if (item.kind == MenuItem::Kind::Popup) Destroy(item.popup);
  }
}

void Append(MenuHandle handle, MenuItem item) {
  if (Menu* menu = LiveMenu(handle)) menu->items.push_back(std::move(item));
}

}  // namespace

void ResetDesktop() { State() = DesktopState{}; }

WindowHandle CreateHostWindow(const std::string& className, int menuPopups) {
  const WindowHandle window = State().nextHandle++;
  Window record{className, 0};
  if (menuPopups > 0) {
    record.menuBar = NewMenu();
    for (int index = 0; index < menuPopups; ++index) {
      const MenuHandle popup = NewMenu();
      Append(popup, {MenuItem::Kind::Text, static_cast<std::uint32_t>(100 + index), "Host item", false, 0});
      Append(record.menuBar,
             {MenuItem::Kind::Popup, 0, "Host pop-up " + std::to_string(index), false, popup});
    }
  }
  State().windows[window] = record;
  return window;
}

MenuHandle MenuBar(WindowHandle window) { return platform::WindowMenuBar(window); }

void FailHookInstallation(HookKind kind) { HookOf(kind).failInstallation = true; }
bool HookInstalled(HookKind kind) { return HookOf(kind).procedure != nullptr; }
int NextHookCalls(HookKind kind) { return HookOf(kind).nextHookCalls; }
const std::vector<std::string>& MessageBoxes() { return State().messageBoxes; }

void SetKeyHeld(int virtualKey, bool held) { State().keys[virtualKey & 0xFF] = held; }
void SetKeyToggled(int virtualKey, bool on) { State().toggledKeys[virtualKey & 0xFF] = on; }

WindowHandle CapturedWindow() { return State().captured; }

void SetCursorPosition(std::int32_t x, std::int32_t y) {
  State().cursorX = x;
  State().cursorY = y;
}

void SetClientSize(WindowHandle window, std::int32_t width, std::int32_t height) {
  State().windows[window].width = width;
  State().windows[window].height = height;
}

int PointerShown() { return State().pointer; }

platform::SentMessageRecord SendThroughHooks(WindowHandle window, std::uint32_t message,
                                             std::uintptr_t wParam, std::intptr_t lParam) {
  platform::SentMessageRecord record{lParam, wParam, message, window};
  if (auto procedure = HookOf(HookKind::CallWndProc).procedure) {
    procedure(0, 0, reinterpret_cast<std::intptr_t>(&record));
  }
  return record;
}

platform::QueuedMessageRecord TakeThroughHooks(WindowHandle window, std::uint32_t message,
                                               std::uintptr_t wParam, std::intptr_t lParam, bool remove) {
  platform::QueuedMessageRecord record{window, message, wParam, lParam, 0, 0, 0};
  if (auto procedure = HookOf(HookKind::GetMessage).procedure) {
    procedure(0, remove ? 1 : 0, reinterpret_cast<std::intptr_t>(&record));
  }
  return record;
}

const std::vector<MenuItem>& MenuItems(MenuHandle menu) {
  static const std::vector<MenuItem> none;
  const Menu* live = LiveMenu(menu);
  return live != nullptr ? live->items : none;
}

int LiveMenuCount() {
  int count = 0;
  for (const auto& [handle, menu] : State().menus) count += menu.destroyed ? 0 : 1;
  return count;
}

}  // namespace sim

namespace platform {

using sim::detail::LogEvent;

WindowHandle FindTopLevelWindow(const char* className) {
  LogEvent(std::string("FindTopLevelWindow ") + className);
  for (const auto& [handle, window] : sim::State().windows) {
    if (window.className == className) return handle;
  }
  return 0;
}

void WindowClassName(WindowHandle window, char* buffer, int capacity) {
  if (capacity <= 0) return;
  auto found = sim::State().windows.find(window);
  const std::string name = found == sim::State().windows.end() ? "" : found->second.className;
  std::snprintf(buffer, static_cast<std::size_t>(capacity), "%s", name.c_str());
}

bool KeyHeld(int virtualKey) { return virtualKey >= 0 && virtualKey < 256 && sim::State().keys[virtualKey]; }

bool KeyToggled(int virtualKey) {
  return virtualKey >= 0 && virtualKey < 256 && sim::State().toggledKeys[virtualKey];
}

void CursorPosition(std::int32_t& x, std::int32_t& y) {
  x = sim::State().cursorX;
  y = sim::State().cursorY;
}

void ClientSize(WindowHandle window, std::int32_t& width, std::int32_t& height) {
  auto found = sim::State().windows.find(window);
  width = found == sim::State().windows.end() ? 0 : found->second.width;
  height = found == sim::State().windows.end() ? 0 : found->second.height;
}

void ShowPointer(PointerShape shape) { sim::State().pointer = static_cast<int>(shape); }

void CaptureMouse(WindowHandle window) {
  LogEvent("CaptureMouse");
  sim::State().captured = window;
}

void ReleaseMouse() {
  LogEvent("ReleaseMouse");
  sim::State().captured = 0;
}

void ShowMessageBox(const char* text) {
  LogEvent(std::string("ShowMessageBox ") + text);
  sim::State().messageBoxes.emplace_back(text);
}

HookHandle InstallThreadHook(HookKind kind, HookProcedure procedure, std::uint32_t threadId) {
  LogEvent(std::string("InstallThreadHook ") + sim::NameOf(kind) + " thread " + std::to_string(threadId));
  sim::Hook& hook = sim::HookOf(kind);
  if (hook.failInstallation) return 0;
  hook.procedure = procedure;
  return kind == HookKind::CallWndProc ? 1 : 2;
}

void RemoveThreadHook(HookHandle hook) {
  const HookKind kind = sim::KindOfHandle(hook);
  LogEvent(std::string("RemoveThreadHook ") + sim::NameOf(kind));
  sim::HookOf(kind).procedure = nullptr;
}

std::intptr_t CallNextHook(HookHandle hook, int /*code*/, std::uintptr_t /*wParam*/,
                           std::intptr_t /*lParam*/) {
  ++sim::HookOf(sim::KindOfHandle(hook)).nextHookCalls;
  return 0;
}

MenuHandle CreatePopupMenu() { return sim::NewMenu(); }

void AppendMenuText(MenuHandle menu, std::uint32_t id, const char* text, bool checked) {
  sim::Append(menu, {sim::MenuItem::Kind::Text, id, text, checked, 0});
}

void AppendMenuSeparator(MenuHandle menu) {
  sim::Append(menu, {sim::MenuItem::Kind::Separator, 0, "", false, 0});
}

void AppendSubMenu(MenuHandle menu, MenuHandle popup, const char* text) {
  sim::Append(menu, {sim::MenuItem::Kind::Popup, 0, text, false, popup});
}

MenuHandle WindowMenuBar(WindowHandle window) {
  auto found = sim::State().windows.find(window);
  return found == sim::State().windows.end() ? 0 : found->second.menuBar;
}

MenuHandle SubMenuAt(MenuHandle menu, int position) {
  const auto& items = sim::MenuItems(menu);
  if (position < 0 || static_cast<std::size_t>(position) >= items.size()) return 0;
  const auto& item = items[static_cast<std::size_t>(position)];
  return item.kind == sim::MenuItem::Kind::Popup ? item.popup : 0;
}

int MenuItemCount(MenuHandle menu) {
  const sim::Menu* live = sim::LiveMenu(menu);
  return live != nullptr ? static_cast<int>(live->items.size()) : -1;
}

bool MenuItemIsSeparator(MenuHandle menu, int position) {
  const auto& items = sim::MenuItems(menu);
  return position >= 0 && static_cast<std::size_t>(position) < items.size() &&
         items[static_cast<std::size_t>(position)].kind == sim::MenuItem::Kind::Separator;
}

void RemoveMenuItem(MenuHandle menu, int position) {
  sim::Menu* live = sim::LiveMenu(menu);
  if (live == nullptr || position < 0 || static_cast<std::size_t>(position) >= live->items.size()) return;
  live->items.erase(live->items.begin() + position);
}

void DestroyPopupMenu(MenuHandle menu) { sim::Destroy(menu); }

}  // namespace platform
}  // namespace varolen
