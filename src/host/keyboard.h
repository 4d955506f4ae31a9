// Windows' keyboard as the module reads it. A key message names its key by a
// key code that Windows translates: with Num Lock on and SHIFT held, number
// pad 8 arrives as the up arrow's code, SHIFT reads up meanwhile (Windows
// sends a SHIFT key-up before the key and a key-down after its release), and
// the key's press and release may arrive under different codes. The number
// pad's keys are therefore told by their scan code and their missing
// extended-key flag, and a translated one is itself the sign that SHIFT is
// held (docs/host-facts.md has the sources).
#pragma once

#include <cstdint>

namespace varolen {

// Virtual-key codes the module reads the key state of.
inline constexpr int kShiftKey = 0x10, kControlKey = 0x11, kAltKey = 0x12, kNumLockKey = 0x90;

struct DecodedKey {
  std::uint32_t code;  // the virtual-key code; the number pad's digits and point as VK_NUMPAD0..9, VK_DECIMAL
  bool shiftedByWindows;  // a number-pad key Windows translated because SHIFT was held
};

// The key of a key message (`wParam`, `lParam` as Windows gives them), with
// Num Lock on or off.
DecodedKey DecodeKey(std::uintptr_t wParam, std::intptr_t lParam, bool numLockOn);

// Keeps which number-pad keys are held with SHIFT: each press of a key (its
// repeats too) as Windows translated it, each release forgets it.
void NoteNumberPadKey(const DecodedKey& key, bool pressed);

// SHIFT is held: its key state reads down, or a number-pad key held now came
// translated by it. The walking pilot runs while it is.
bool ShiftHeld();

// No key held, as a freshly loaded module knows it.
void ResetKeyboard();

}  // namespace varolen
