#include "input/key_names.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace varolen {

namespace {

KeyNameEntry table[kKeyNameCount + 1];

class TableWriter {
 public:
  void Add(const char* name, const char* label, std::uint32_t code) {
    KeyNameEntry& row = table[count_++];
    std::snprintf(row.name, sizeof row.name, "%s", name);
    std::snprintf(row.label, sizeof row.label, "%s", label);
    row.code = code;
  }
  int Count() const { return count_; }

 private:
  int count_ = 0;
};

void Fill() {
  TableWriter rows;
  rows.Add("NONE", "None", 0);
  char name[32];
  char label[64];
  for (char digit : {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}) {
    const char text[2] = {digit, '\0'};
    rows.Add(text, text, static_cast<std::uint32_t>(digit));
  }
  for (std::uint32_t number = 1; number <= 12; ++number) {
    std::snprintf(name, sizeof name, "F%u", number);
    rows.Add(name, name, 111 + number);
  }
  for (std::uint32_t digit : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 0u}) {
    std::snprintf(name, sizeof name, "NUMPAD_%u", digit);
    std::snprintf(label, sizeof label, "Numpad %u", digit);
    rows.Add(name, label, 96 + digit);
  }
  const struct {
    const char* name;
    const char* label;
    std::uint32_t code;
  } named[] = {
      {"TAB", "Tab", 9},
      {"SPACE", "Space", 32},
      {"RETURN", "Return", 13},
      {"UP", "Up arrow", 38},
      {"DOWN", "Down arrow", 40},
      {"RIGHT", "Right arrow", 39},
      {"LEFT", "Left arrow", 37},
      {"PAGE_UP", "Page up", 33},
      {"PAGE_DOWN", "Page down", 34},
      {"HOME", "Home", 36},
      {"END", "End", 35},
      {"MOUSE_BUTTON_0", "Left mouse button", kLeftMouseButtonCode},
      {"MOUSE_BUTTON_1", "Right mouse button", kRightMouseButtonCode},
      {"MOUSE_BUTTON_2", "Middle mouse button", kMiddleMouseButtonCode},
      {"MOUSE_WHEEL_UP", "Mouse wheel up", 1004},
      {"MOUSE_WHEEL_DOWN", "Mouse wheel down", 1005},
  };
  for (const auto& row : named) rows.Add(row.name, row.label, row.code);
  const char* const axes[] = {"X", "Y", "Z", "RX", "RY", "RZ"};
  for (std::uint32_t stick = 1; stick <= 4; ++stick) {
    const std::uint32_t base = 300 + 200 * (stick - 1);
    for (std::uint32_t axis = 0; axis < 6; ++axis) {
      std::snprintf(name, sizeof name, "JOYSTICK_%u_AXIS_%s", stick, axes[axis]);
      std::snprintf(label, sizeof label, "Joystick %u Axis %s", stick, axes[axis]);
      rows.Add(name, label, base + axis);
    }
    for (std::uint32_t slider = 1; slider <= 4; ++slider) {
      std::snprintf(name, sizeof name, "JOYSTICK_%u_SLIDER_%u", stick, slider);
      // The third and fourth sliders have no label.
      label[0] = '\0';
      if (slider <= 2) std::snprintf(label, sizeof label, "Joystick %u Slider %u", stick, slider);
      rows.Add(name, label, base + 5 + slider);
    }
    for (std::uint32_t button = 1; button <= 30; ++button) {
      std::snprintf(name, sizeof name, "JOYSTICK_%u_BUTTON_%u", stick, button);
      std::snprintf(label, sizeof label, "Joystick %u Button %u", stick, button);
      rows.Add(name, label, base + 9 + button);
    }
  }
  rows.Add("", "", kKeyNameEnd);
}

}  // namespace

const KeyNameEntry* KeyNameTable() {
  if (table[0].name[0] == '\0') Fill();
  return table;
}

bool FindKeyCode(const char* name, std::uint32_t& code) {
  for (const KeyNameEntry* row = KeyNameTable(); row->name[0] != '\0'; ++row) {
    // Most rows differ in their first letter: a binding file of hundreds of lines reads fast.
    if (row->name[0] == name[0] && std::strcmp(row->name, name) == 0) {
      code = row->code;
      return true;
    }
  }
  return false;
}

}  // namespace varolen
