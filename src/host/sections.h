// The sections of the binding file besides its key bindings ("[HeadTracker]",
// "[Motion]"): lines of "Name = value", "//" starting a
// comment that runs to the end of the line.
#pragma once

#include <cstdio>

namespace varolen {

// Hands `take` the name and the value text of each "Name = value" line of the
// section headed `header` (its case ignored), blanks trimmed from both. A line
// longer than 255 characters is skipped whole; a later section with the same
// header goes on with it.
using SectionValue = void (*)(void* context, const char* name, const char* value);
void ReadSectionValues(std::FILE* file, const char* header, SectionValue take, void* context);

// The value text as a finite number (a decimal point or comma), or false.
bool SectionNumber(const char* value, double& number);

}  // namespace varolen
