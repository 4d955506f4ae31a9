// Windows' keyboard as it reaches the focused window, written from Windows'
// documentation of keyboard input and what input libraries found of it
// (docs/host-facts.md): every key message carries its key's scan code and
// extended-key flag and the key's previous state; with Num Lock on, a
// number-pad key pressed or released while SHIFT is held comes as its
// navigation key, after a SHIFT key-up and, at its release, before a SHIFT
// key-down, the key state reading SHIFT up in between; with Num Lock off the
// number pad's keys always come as navigation keys. ALT without CONTROL, and
// F10, make system keys.
#pragma once

#include <cstdint>
#include <functional>

namespace simhost {

inline constexpr std::uint32_t kKeyDownMessage = 0x100, kKeyUpMessage = 0x101;
inline constexpr std::uint32_t kSystemKeyDownMessage = 0x104, kSystemKeyUpMessage = 0x105;
// Windows' virtual-key codes of the keys that change how others arrive.
inline constexpr int kShiftKey = 0x10, kControlKey = 0x11, kAltKey = 0x12, kF10Key = 0x79, kNumLockKey = 0x90;

struct KeyMessage {
  std::uint32_t message;     // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
  std::uint32_t virtualKey;  // wParam
  std::uint32_t lParam;      // repeat count, scan code, extended flag, context, previous and transition bits
};

class KeyboardWriter {
 public:
  // `send` delivers a message to the focused window; `keyState` sets what the
  // key state reads for a key code (down or up) as the message goes out.
  KeyboardWriter(std::function<void(const KeyMessage&)> send, std::function<void(int, bool)> keyState)
      : send_(std::move(send)), keyState_(std::move(keyState)) {}

  bool NumLock() const { return numLock_; }
  void SetNumLock(bool on) { numLock_ = on; }

  // A key goes down (again while it is held: Windows' repeat) or comes up. A
  // key is named by its code with Num Lock on and nothing else held
  // (VK_NUMPAD8 for the number pad's 8, VK_UP for the arrow key).
  void Press(int key);
  void Release(int key);
  bool Held(int key) const { return key >= 0 && key < 256 && held_[key]; }

 private:
  void Key(int key, bool down);
  void Send(int key, std::uint32_t code, bool down, bool wasDown);

  std::function<void(const KeyMessage&)> send_;
  std::function<void(int, bool)> keyState_;
  bool numLock_ = true;
  bool held_[256] = {};      // the keys the user holds
  bool reported_[256] = {};  // the key state as Windows reports it, by key code
};

}  // namespace simhost
