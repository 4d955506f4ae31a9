// The host's windows, FS98MAIN with its menu bar and FS98CHILD, and the
// delivery of messages to them through the thread's real queue and hooks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "host.h"

namespace simhost::win32 {

class HostWindows {
 public:
  // The main window only when the scenario has one, with `menuPopups` pop-ups.
  HostWindows(bool mainWindow, int menuPopups);

  HWND Main() const { return main_; }
  HWND Window(Target target) const { return target == Target::MainWindow ? main_ : view_; }

  // Posts the message and runs the queue dry; true when the window never got
  // it (the module consumed it).
  bool Post(Target target, UINT message, WPARAM wParam, LPARAM lParam);
  // Sends the message, then runs the queue dry; likewise.
  bool Send(Target target, UINT message, WPARAM wParam, LPARAM lParam);

  // Opens the host's menu (WM_INITMENU) and reads the module's sub-menu back.
  std::vector<MenuEntry> OpenModuleMenu() const;
  int HostPopupItemCount() const;

 private:
  HWND main_ = nullptr;
  HWND view_ = nullptr;
};

}  // namespace simhost::win32
