// The binding file: its tokens, sections and comments, and the key names.
#include "input/key_bindings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "input/key_names.h"

namespace varolen {
namespace {

TEST(KeyNames, TheTableHas209RowsAndAnEndRow) {
  const KeyNameEntry* table = KeyNameTable();
  int rows = 0;
  while (table[rows].name[0] != '\0') ++rows;
  EXPECT_EQ(rows, 209);
  EXPECT_EQ(table[209].code, 0xFFFFu);
  const struct {
    const char* name;
    std::uint32_t code;
    const char* label;
  } cases[] = {
      {"NONE", 0, "None"},
      {"F12", 123, "F12"},
      {"NUMPAD_3", 99, "Numpad 3"},
      {"PAGE_DOWN", 34, "Page down"},
      {"MOUSE_BUTTON_1", 1001, "Right mouse button"},
      {"MOUSE_WHEEL_DOWN", 1005, "Mouse wheel down"},
      {"JOYSTICK_1_AXIS_X", 300, "Joystick 1 Axis X"},
      {"JOYSTICK_2_BUTTON_7", 516, "Joystick 2 Button 7"},
      {"JOYSTICK_3_SLIDER_3", 708, ""},
      {"JOYSTICK_4_BUTTON_30", 939, "Joystick 4 Button 30"},
  };
  for (const auto& c : cases) {
    const KeyNameEntry* row = table;
    while (row->name[0] != '\0' && std::string(row->name) != c.name) ++row;
    ASSERT_STREQ(row->name, c.name);
    EXPECT_EQ(row->code, c.code) << c.name;
    EXPECT_STREQ(row->label, c.label) << c.name;
  }
}

TEST(KeyBindings, TokensBecomeBindings) {
  const struct {
    const char* token;
    const char* command;
    std::int32_t key;
    std::uint32_t modifiers;
    std::int32_t isDouble, nullZone;
  } cases[] = {
      {"ToggleFlyBy=control,f1", "ToggleFlyBy", 112, 2, 0, 0},
      {"SetCockpitView3=SHIFT,3", "SetCockpitView3", 51, 1, 0, 0},
      {"ToggleWheelZoom=Z", "ToggleWheelZoom", 90, 0, 0, 0},
      {"ToggleWheelZoom=z", "ToggleWheelZoom", 90, 0, 0, 0},
      {"x=NZ150,JOYSTICK_1_AXIS_X,INVERSE", "x", 300, 8, 0, 100},
      {"x=NZ-5,alt,shift", "x", 0, 5, 0, 0},
      {"PilotForward=DOUBLE,NUMPAD_8", "PilotForward", 104, 0, 1, 0},
      {"Setup=PAUSE", "Setup", 'P', 0, 0, 0},  // not a key name: its first character
      {"Empty=", "Empty", 0, 0, 0, 0},
      {"a=b=c", "a", 'C', 0, 0, 0},  // a further "=" separates; the later key wins
      {"A=F1,F2", "A", 113, 0, 0, 0},
      {"ThisCommandNameIsMuchLongerThanThirtyOne=F1", "ThisCommandNameIsMuchLongerThan", 112, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const KeyBinding binding = ParseBinding(c.token);
    EXPECT_STREQ(binding.commandName, c.command) << c.token;
    EXPECT_EQ(binding.keyCode, c.key) << c.token;
    EXPECT_EQ(binding.modifiers, c.modifiers) << c.token;
    EXPECT_EQ(binding.isDouble, c.isDouble) << c.token;
    EXPECT_EQ(binding.nullZone, c.nullZone) << c.token;
  }
}

std::vector<std::string> Read(const std::string& text, int capacity = kBindingCapacity) {
  std::vector<KeyBinding> storage(static_cast<std::size_t>(capacity));
  KeyBindingTable table = {capacity, 0, storage.data()};
  std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  ReadKeyBindingsFrom(file, "Keyboard", table);
  std::fclose(file);
  std::vector<std::string> names;
  for (int index = 0; index < table.count; ++index)
    names.push_back(storage[static_cast<std::size_t>(index)].commandName);
  return names;
}

TEST(KeyBindings, SectionsCommentsAndTheLastLine) {
  using Names = std::vector<std::string>;
  const struct {
    std::string text;
    Names names;
  } cases[] = {
      {"[keyBOARD]\nA=F1\n", {"A"}},
      {"A=F1\n[Keyboard]\nB=F2\n", {"B"}},
      {"[Keyboard]\nToggleFlyBy = F1\n", {}},
      {"[Keyboard]\n// a=b c=d\ne=F2 // f=F3\ng=F4\n", {"e", "g"}},
      {"[Keyboard]\nA=F1\n[Other]\nB=F2\n[KEYBOARD]\nC=F3", {"A", "C"}},  // the last token, no line end
      {"[Keyboard]\n[Keyboard]\nA=F1\n", {"A"}},
      {"[Keyboard]\nA=F1 x[y=1 B=F2\n", {"A"}},
      {"[Keyboard]\n" + std::string(2000, 'L') + "=F1 B=F2\n", {"B"}},  // an over-long token is skipped
      {"", {}},
      {"A=F1\nB=F2\n", {}},           // no header: no section
      {"[Other]\nA=F1\nB=F2\n", {}},  // only another section
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.names) << c.text.substr(0, 60);
}

TEST(KeyBindings, TheTableKeepsTheFirst256) {
  std::string text = "[Keyboard]\n";
  for (int index = 0; index < 300; ++index) text += "C" + std::to_string(index) + "=F1\n";
  const auto names = Read(text);
  ASSERT_EQ(names.size(), 256u);
  EXPECT_EQ(names.front(), "C0");
  EXPECT_EQ(names.back(), "C255");
}

TEST(KeyBindings, AMissingFileGivesNoBindings) {
  KeyBinding storage[4];
  KeyBindingTable table = {4, 0, storage};
  EXPECT_EQ(ReadKeyBindings("/nonexistent/Varolen2004.cfg", "Keyboard", table), 0);
  EXPECT_EQ(table.count, 0);
}

}  // namespace
}  // namespace varolen
