// What a substitute host must offer the scenario runner. The native host
// implements it over the simulated platform, the Win32 host over real Windows
// with the real DLL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flight.h"
#include "host/host_layout.h"
#include "host_builder.h"

namespace simhost {

enum class Target { MainWindow, ViewWindow };

struct MenuEntry {
  std::uint32_t id;
  std::string text;
  bool checked;
  bool separator;
};

// Window messages the hosts deliver, as the module names them.
using varolen::kCommand;
using varolen::kInitMenu;
using varolen::kKeyDown;
using varolen::kKeyUp;
using varolen::kMouseMove;
using varolen::kMouseWheel;
inline constexpr std::uint32_t kFrame = varolen::kFrameMessage;

inline constexpr int kScreenOffset = 100;

class Host {
 public:
  virtual ~Host() = default;
  virtual HostMemoryReader& Memory() = 0;
  virtual HostMemoryWriter& Writer() = 0;
  virtual const HostLayout& Layout() const = 0;
  virtual bool HasMainWindow() const = 0;
  virtual void SetClock(std::uint32_t milliseconds) = 0;
  virtual void SetFlightState(const FlightState& state) = 0;
  virtual void SetKeyState(int virtualKey, bool down) = 0;
  // A toggle key's state (Num Lock on or off), as GetKeyState's low bit reads it.
  virtual void SetKeyToggled(int virtualKey, bool on) = 0;
  // The pointer, in client pixels of the view window (the screen position the
  // module reads is 100 pixels further right and down in both hosts).
  virtual void SetCursor(int x, int y) = 0;
  // The pointer shape the module set last: 0 arrow, 1 hand, 2 to 4 the host's
  // shape codes; -1 before it set any.
  virtual int PointerShape() = 0;
  // Delivers a message through the thread's queue; true when the module consumed it.
  virtual bool Post(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Delivers a message by sending it to the window; true when the module consumed it.
  virtual bool Send(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Opens the host's menu (WM_INITMENU) and reads back the module's sub-menu;
  // empty when the host has no such menu.
  virtual std::vector<MenuEntry> OpenModuleMenu() = 0;
  // Items in the host's fourth menu pop-up, where the module's sub-menu goes.
  virtual int HostPopupItemCount() = 0;
  // The effect sounds playing, "slot:volume" separated by blanks; "-" where the
  // host cannot see them.
  virtual std::string SoundsPlaying() = 0;
  // Message boxes the module showed (the host answered them).
  virtual std::vector<std::string> MessageBoxes() const = 0;
  // The module's dialogs as they opened and how the user's script ended them.
  virtual std::vector<std::string> DialogLines() const = 0;

  // A head tracker's named shared block: made (or taken again) and kept, or
  // let go; one of its 32-bit fields stored as a tracker stores it, in one
  // interlocked store.
  virtual void HoldTrackerBlock(bool hold) = 0;
  virtual void StoreTrackerWord(std::uint32_t offset, std::uint32_t word) = 0;
  // What the module made of the tracker, "state,heading,pitch,bank,x,y,z";
  // "-" fields where the host cannot see inside the module.
  virtual std::string TrackerSeen() = 0;
  // The motion the module added to the view it wrote last (head motion and
  // motion options, without the tracked head), "pitch,heading,bank" in
  // degrees, the eye's move by the body motion "x,y" in metres and the load
  // factor; "-" fields where the host cannot see inside the module.
  virtual std::string MotionAdded() = 0;
};

// The caption of the module's dialog template.
std::string DialogCaption(int templateId);
// One summary line for a dialog: "dialog: <caption> shows <controls>; <outcome>".
std::string DialogLine(const std::string& caption, const std::string& controls, const std::string& outcome);

}  // namespace simhost
