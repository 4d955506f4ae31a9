#include "driver.h"

#include "host/host_layout.h"

namespace simhost {

namespace {

std::intptr_t Point(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}

}  // namespace

Driver::Driver(Host& host, std::uint32_t clock)
    : host_(host),
      clock_(clock),
      keyboard_(
          [&host](const KeyMessage& key) {
            host.Post(Target::ViewWindow, key.message, key.virtualKey, key.lParam);
          },
          [&host](int key, bool down) { host.SetKeyState(key, down); }) {
  host_.SetKeyToggled(kNumLockKey, keyboard_.NumLock());
}

void Driver::Frame() {
  host_.SetClock(clock_ += 16);
  host_.Post(host_.HasMainWindow() ? Target::MainWindow : Target::ViewWindow, kFrame, 0, 0);
}

void Driver::Key(int virtualKey, bool down, bool control, bool shift) {
  if (control) keyboard_.Press(kControlKey);
  if (shift) keyboard_.Press(kShiftKey);
  if (down) {
    keyboard_.Press(virtualKey);
  } else {
    keyboard_.Release(virtualKey);
  }
  if (shift) keyboard_.Release(kShiftKey);
  if (control) keyboard_.Release(kControlKey);
}

void Driver::Tap(int virtualKey, bool control, bool shift) {
  Key(virtualKey, true, control, shift);
  Key(virtualKey, false, control, shift);
}

void Driver::MoveMouse(int x, int y) {
  x_ = x;
  y_ = y;
  host_.SetCursor(x, y);
  host_.Post(Target::ViewWindow, kMouseMove, 0, Point(x, y));
}

void Driver::Button(int button, bool down) {
  static constexpr std::uint32_t kDown[] = {0x201, 0x204, 0x207};
  host_.Post(Target::ViewWindow, kDown[button % 3] + (down ? 0 : 1), 0, Point(x_, y_));
}

void Driver::Wheel(int notches) {
  host_.Post(Target::ViewWindow, kMouseWheel, static_cast<std::uint32_t>(notches * 120) << 16, Point(x_, y_));
}

bool Driver::Menu(const std::string& text) {
  for (const MenuEntry& entry : host_.OpenModuleMenu()) {
    if (!entry.separator && entry.text == text) {
      host_.Post(Target::MainWindow, kCommand, entry.id, 0);
      return true;
    }
  }
  return false;
}

}  // namespace simhost
