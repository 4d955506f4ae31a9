#include "keyboard_writer.h"

namespace simhost {

namespace {

struct KeyOfBoard {
  int key;                 // its code with Num Lock on, nothing else held
  std::uint32_t scanCode;  // set 1, as Windows puts it into lParam
  bool extended;
  int navigation;  // a number-pad key: its code with Num Lock off or SHIFT held; else 0
};

// The keys scenarios press, from the scan-code table of Windows' keyboard
// documentation: the number pad's digits and point share their scan codes
// with the navigation keys, which carry the extended flag.
constexpr KeyOfBoard kKeys[] = {
    {0x60, 0x52, false, 0x2D}, {0x61, 0x4F, false, 0x23}, {0x62, 0x50, false, 0x28},
    {0x63, 0x51, false, 0x22}, {0x64, 0x4B, false, 0x25}, {0x65, 0x4C, false, 0x0C},
    {0x66, 0x4D, false, 0x27}, {0x67, 0x47, false, 0x24}, {0x68, 0x48, false, 0x26},
    {0x69, 0x49, false, 0x21}, {0x6E, 0x53, false, 0x2E},  // number pad
    {0x2D, 0x52, true, 0},     {0x23, 0x4F, true, 0},     {0x28, 0x50, true, 0},
    {0x22, 0x51, true, 0},     {0x25, 0x4B, true, 0},     {0x27, 0x4D, true, 0},
    {0x24, 0x47, true, 0},     {0x26, 0x48, true, 0},     {0x21, 0x49, true, 0},
    {0x2E, 0x53, true, 0},  // the navigation keys
    {0x10, 0x2A, false, 0},    {0x11, 0x1D, false, 0},    {0x12, 0x38, false, 0},
    {0x90, 0x45, true, 0},     {0x09, 0x0F, false, 0},    {0x0D, 0x1C, false, 0},
    {0x1B, 0x01, false, 0},    {0x20, 0x39, false, 0},
};
// Letters and digits in the rows of the board.
constexpr std::uint32_t kLetterScanCodes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                                0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                                0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

KeyOfBoard Describe(int key) {
  for (const KeyOfBoard& known : kKeys) {
    if (known.key == key) return known;
  }
  if (key >= 'A' && key <= 'Z') return {key, kLetterScanCodes[key - 'A'], false, 0};
  if (key >= '1' && key <= '9') return {key, static_cast<std::uint32_t>(key - '1' + 0x02), false, 0};
  if (key == '0') return {key, 0x0B, false, 0};
  if (key >= 0x70 && key <= 0x79)
    return {key, static_cast<std::uint32_t>(key - 0x70 + 0x3B), false, 0};  // F1-F10
  if (key == 0x7A || key == 0x7B) return {key, static_cast<std::uint32_t>(key - 0x7A + 0x57), false, 0};
  return {key, 0, false, 0};
}

}  // namespace

void KeyboardWriter::Send(int key, std::uint32_t code, bool down, bool wasDown) {
  const KeyOfBoard board = Describe(key);
  const bool alt = reported_[kAltKey] || (key == kAltKey && down);
  const bool system = key == kF10Key || (alt && !reported_[kControlKey]);
  reported_[code & 0xFF] = down;
  keyState_(static_cast<int>(code), down);
  const std::uint32_t lParam = 1u | board.scanCode << 16 | (board.extended ? 1u << 24 : 0u) |
                               (alt ? 1u << 29 : 0u) | (wasDown ? 1u << 30 : 0u) | (down ? 0u : 1u << 31);
  send_({down ? (system ? kSystemKeyDownMessage : kKeyDownMessage)
              : (system ? kSystemKeyUpMessage : kKeyUpMessage),
         code, lParam});
}

void KeyboardWriter::Press(int key) { Key(key & 0xFF, true); }

void KeyboardWriter::Release(int key) {
  if (Held(key & 0xFF)) Key(key & 0xFF, false);
}

void KeyboardWriter::Key(int key, bool down) {
  const bool wasDown = held_[key];
  held_[key] = down;
  const int navigation = Describe(key).navigation;
  if (navigation == 0) {
    Send(key, static_cast<std::uint32_t>(key), down, wasDown);
    return;
  }
  const bool shifted = numLock_ && held_[kShiftKey];
  if (shifted && reported_[kShiftKey]) Send(kShiftKey, kShiftKey, false, true);  // Windows lifts SHIFT first
  Send(key, static_cast<std::uint32_t>(numLock_ && !shifted ? key : navigation), down, wasDown);
  if (shifted && !down) Send(kShiftKey, kShiftKey, true, false);  // and puts it back after the release
}

}  // namespace simhost
