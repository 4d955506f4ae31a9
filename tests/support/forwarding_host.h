// A host that hands everything to another: tests derive from it to watch or
// disturb what passes between a scenario and the module.
#pragma once

#include "host.h"

namespace varolen::testing {

class ForwardingHost : public simhost::Host {
 public:
  explicit ForwardingHost(simhost::Host& host) : host_(host) {}

  simhost::HostMemoryReader& Memory() override { return host_.Memory(); }
  simhost::HostMemoryWriter& Writer() override { return host_.Writer(); }
  const simhost::HostLayout& Layout() const override { return host_.Layout(); }
  bool HasMainWindow() const override { return host_.HasMainWindow(); }
  void SetClock(std::uint32_t milliseconds) override { host_.SetClock(milliseconds); }
  void SetFlightState(const simhost::FlightState& state) override { host_.SetFlightState(state); }
  void SetKeyState(int virtualKey, bool down) override { host_.SetKeyState(virtualKey, down); }
  void SetKeyToggled(int virtualKey, bool on) override { host_.SetKeyToggled(virtualKey, on); }
  void SetCursor(int x, int y) override { host_.SetCursor(x, y); }
  int PointerShape() override { return host_.PointerShape(); }
  bool Post(simhost::Target target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    return host_.Post(target, message, wParam, lParam);
  }
  bool Send(simhost::Target target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    return host_.Send(target, message, wParam, lParam);
  }
  std::vector<simhost::MenuEntry> OpenModuleMenu() override { return host_.OpenModuleMenu(); }
  int HostPopupItemCount() override { return host_.HostPopupItemCount(); }
  std::string SoundsPlaying() override { return host_.SoundsPlaying(); }
  std::vector<std::string> MessageBoxes() const override { return host_.MessageBoxes(); }
  std::vector<std::string> DialogLines() const override { return host_.DialogLines(); }
  void HoldTrackerBlock(bool hold) override { host_.HoldTrackerBlock(hold); }
  void StoreTrackerWord(std::uint32_t offset, std::uint32_t word) override {
    host_.StoreTrackerWord(offset, word);
  }
  std::string TrackerSeen() override { return host_.TrackerSeen(); }
  std::string MotionAdded() override { return host_.MotionAdded(); }

 private:
  simhost::Host& host_;
};

}  // namespace varolen::testing
