// The Win32 host: the real module, loaded with LoadLibrary and linked as the
// host links it, over the host's memory, windows and messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host.h"
#include "platform/win32/linkage.h"
#include "scenario.h"
#include "win32/host_memory.h"
#include "win32/host_windows.h"
#include "win32/report.h"
#include "win32/tracker_block.h"

namespace simhost::win32 {

class Win32Host : public Host {
 public:
  // Lays out the simulator folder (unless the module is `installed` there),
  // the registry, the windows and the host's memory.
  Win32Host(const Scenario& scenario, const std::string& folder, const std::string& modulePath,
            bool installed, bool keepRegistry, const std::string& sounds);

  // Loads and links the module as the host does; unloads it.
  void Load();
  void Unload();

  std::vector<std::string> ReportLines() const;

  HostMemoryReader& Memory() override { return memory_; }
  HostMemoryWriter& Writer() override { return memory_; }
  const HostLayout& Layout() const override { return layout_; }
  bool HasMainWindow() const override { return windows_.Main() != nullptr; }
  void SetClock(std::uint32_t milliseconds) override;
  void SetFlightState(const FlightState& state) override;
  void SetKeyState(int virtualKey, bool down) override;
  void SetKeyToggled(int virtualKey, bool on) override;
  void SetCursor(int x, int y) override;
  int PointerShape() override;
  bool Post(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool Send(Target target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::vector<MenuEntry> OpenModuleMenu() override { return windows_.OpenModuleMenu(); }
  int HostPopupItemCount() override { return windows_.HostPopupItemCount(); }
  // DirectSound plays inside the module; the host does not see which sounds.
  std::string SoundsPlaying() override { return "-"; }
  std::vector<std::string> MessageBoxes() const override;
  std::vector<std::string> DialogLines() const override;
  void HoldTrackerBlock(bool hold) override { tracker_.Hold(hold); }
  void StoreTrackerWord(std::uint32_t offset, std::uint32_t word) override { tracker_.Store(offset, word); }
  // The tracker's offset lies inside the module, out of this host's sight.
  std::string TrackerSeen() override { return "-,-,-,-,-,-,-"; }
  std::string MotionAdded() override { return "-,-,-,-,-,-"; }

 private:
  std::string folder_;
  bool realTime_ = false;
  ProcessMemory memory_;
  HostLayout layout_;
  HostWindows windows_;
  TrackerBlock tracker_;
  HMODULE module_ = nullptr;
  FrameCost frameCost_;
  HHOOK answerer_ = nullptr;
  varolen::LinkageRecord* linkage_ = nullptr;
  char linkageWords_[96] = "linkage: none";
  std::vector<std::string> patched_;
};

}  // namespace simhost::win32
