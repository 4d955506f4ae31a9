// The user's input as the module sees it: one key, mouse button, pointer or
// wheel event of the host's windows, decoded once from its window message
// where the module receives it, and handed on typed.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

namespace varolen {

// Modifier bits of an event and of a key binding.
enum InputModifier : std::uint32_t {
  kModifierShift = 1,
  kModifierControl = 2,
  kModifierAlt = 4,
  kModifierInverse = 8,  // written in binding files; no event carries it
};

enum class InputKind : std::uint8_t { Press, Release, PointerMove, Wheel };

struct InputEvent {
  InputKind kind;
  platform::WindowHandle window;
  std::uint32_t code;       // a press or release: the virtual-key code, or 1000 to 1002 for a mouse button
  std::uint32_t modifiers;  // InputModifier bits of the keys held when the event was routed
  std::int32_t x, y;        // a pointer move: client pixels of the window, as the message gives them
  double notches;           // a wheel turn: notches of 120, positive away from the user
};

}  // namespace varolen
