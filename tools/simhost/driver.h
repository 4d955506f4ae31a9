// Drives a host by hand, frame by frame at 60 a second, with keys, the mouse
// and the module's menu, for programs that play more than a scenario file
// holds (the benchmarks, the soak run).
#pragma once

#include <cstdint>
#include <string>

#include "host.h"
#include "keyboard_writer.h"

namespace simhost {

class Driver {
 public:
  Driver(Host& host, std::uint32_t clock);

  // One frame message, 16 ms after the last.
  void Frame();
  std::uint32_t Clock() const { return clock_; }
  void Fly(const FlightState& state) { host_.SetFlightState(state); }

  // A key going down or up, with CONTROL and SHIFT held for it alone, as
  // Windows' keyboard sends it (Num Lock on).
  void Key(int virtualKey, bool down, bool control = false, bool shift = false);
  void Tap(int virtualKey, bool control, bool shift = false);
  void MoveMouse(int x, int y);
  // The mouse buttons: 0 left, 1 right, 2 middle.
  void Button(int button, bool down);
  void Wheel(int notches);
  // Opens the host's menu and chooses the module's item with this text; false without one.
  bool Menu(const std::string& text);

 private:
  Host& host_;
  std::uint32_t clock_;
  int x_ = 0, y_ = 0;
  KeyboardWriter keyboard_;
};

}  // namespace simhost
