// The key binding table: which key, mouse button or joystick control runs which
// module command, read from the binding file at start-up.
#pragma once

#include <cstdint>
#include <cstdio>

#include "host/input_event.h"
#include "input/command_table.h"

namespace varolen {

inline constexpr int kCommandNameCapacity = 32;
inline constexpr int kBindingCapacity = 256;

struct KeyBinding {
  std::int32_t preset;  // the preset of the preset commands, 0 to 9
  std::int32_t keyCode;
  std::uint32_t modifiers;  // InputModifier bits
  std::int32_t nullZone;    // 0 to 100
  Command command;          // what the name names, resolved as the file is read
  bool isDouble;
  bool isActive;     // the command ran for the press in progress
  bool repeatArmed;  // a repeated press may run it again
  char commandName[kCommandNameCapacity];
};

struct KeyBindingTable {
  std::int32_t capacity;
  std::int32_t count;
  KeyBinding* entries;
};

// Appends the bindings of the file's section to the table. 1 when the file
// could be opened, 0 when not.
int ReadKeyBindings(const char* path, const char* section, KeyBindingTable& table);
// The same from an open file.
void ReadKeyBindingsFrom(std::FILE* file, const char* section, KeyBindingTable& table);

// One binding token "command=item,item,...", as the file reader parses it.
KeyBinding ParseBinding(const char* token);

}  // namespace varolen
