// The C runtime's pseudo-random generator, as the Microsoft runtime has it, so
// that the DLL and native runs draw the same numbers.
#pragma once

namespace varolen::platform {

inline constexpr int kRandomMaximum = 32767;

// 0 to kRandomMaximum.
int Rand();

}  // namespace varolen::platform
