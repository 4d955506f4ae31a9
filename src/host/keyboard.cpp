#include "host/keyboard.h"

#include <iterator>

#include "platform/desktop.h"

namespace varolen {

namespace {

constexpr std::uint32_t kNumberPadZero = 0x60;  // VK_NUMPAD0; the digits follow it
constexpr std::uint32_t kDecimalPoint = 0x6E;   // VK_DECIMAL

// The number pad's keys by their scan code (set 1), the digit or point each is.
struct NumberPadKey {
  std::uint32_t scanCode;
  std::uint32_t code;
};
constexpr NumberPadKey kNumberPad[] = {
    {0x52, kNumberPadZero + 0}, {0x4F, kNumberPadZero + 1}, {0x50, kNumberPadZero + 2},
    {0x51, kNumberPadZero + 3}, {0x4B, kNumberPadZero + 4}, {0x4C, kNumberPadZero + 5},
    {0x4D, kNumberPadZero + 6}, {0x47, kNumberPadZero + 7}, {0x48, kNumberPadZero + 8},
    {0x49, kNumberPadZero + 9}, {0x53, kDecimalPoint},
};

// Number-pad keys held that came translated by SHIFT: a bit each, by place in kNumberPad.
std::uint32_t shiftedNumberPadKeys = 0;

int PlaceOf(std::uint32_t code) {
  for (int place = 0; place < static_cast<int>(std::size(kNumberPad)); ++place) {
    if (kNumberPad[place].code == code) return place;
  }
  return -1;
}

}  // namespace

DecodedKey DecodeKey(std::uintptr_t wParam, std::intptr_t lParam, bool numLockOn) {
  const auto given = static_cast<std::uint32_t>(wParam);
  const auto bits = static_cast<std::uint32_t>(lParam);
  const std::uint32_t scanCode = (bits >> 16) & 0xFF;
  const bool extended = ((bits >> 24) & 1) != 0;
  if (!extended) {
    for (const NumberPadKey& key : kNumberPad) {
      // With Num Lock off every number-pad key arrives translated, SHIFT or not.
      if (key.scanCode == scanCode) return {key.code, numLockOn && given != key.code};
    }
  }
  return {given, false};
}

void NoteNumberPadKey(const DecodedKey& key, bool pressed) {
  const int place = PlaceOf(key.code);
  if (place < 0) return;
  const std::uint32_t bit = 1u << place;
  if (pressed && key.shiftedByWindows) {
    shiftedNumberPadKeys |= bit;
  } else {
    shiftedNumberPadKeys &= ~bit;
  }
}

bool ShiftHeld() { return platform::KeyHeld(kShiftKey) || shiftedNumberPadKeys != 0; }

void ResetKeyboard() { shiftedNumberPadKeys = 0; }

}  // namespace varolen
