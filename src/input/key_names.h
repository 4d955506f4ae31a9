// The key names of the binding file and the codes that input events carry.
#pragma once

#include <cstdint>

namespace varolen {

struct KeyNameEntry {
  char name[32];   // as written in the binding file, upper case
  char label[64];  // a display label
  std::uint32_t code;
};

inline constexpr int kKeyNameCount = 209;
inline constexpr std::uint32_t kKeyNameEnd = 0xFFFF;

// The table: 209 rows and an end row with an empty name and code 0xFFFF.
const KeyNameEntry* KeyNameTable();

// The code of the row named exactly `name`, or false when no row has it.
bool FindKeyCode(const char* name, std::uint32_t& code);

// Codes of the mouse buttons as input events carry them.
inline constexpr std::uint32_t kLeftMouseButtonCode = 1000;
inline constexpr std::uint32_t kRightMouseButtonCode = 1001;
inline constexpr std::uint32_t kMiddleMouseButtonCode = 1002;

}  // namespace varolen
