// The sections of the binding file besides its key bindings ("[HeadTracker]",
// "[Motion]"): lines of "Name = value", "//" starting a
// comment that runs to the end of the line.
#pragma once

#include <cstddef>
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

// A section's options as they are to be written: "Name=value" lines.
struct SectionOptions {
  const char* header;  // "[Motion]"
  const char* const* names;
  const char* const* values;
  int count;
};

// Writes the binding file `text` (`size` bytes) to `out` with each option of
// `sections` set in place: a line that sets one (in the first section of its
// header or a later one) becomes "Name=value"; the options a section does not
// set are added after its last setting (or its header), before the blank and
// comment lines that follow; a missing section is added at the end. Every other byte, comments and line ends
// (LF or CR LF, as the file has them) included, stays as it was. False when `out` failed.
bool RewriteSections(const char* text, std::size_t size, const SectionOptions* sections, int sectionCount,
                     std::FILE* out);

}  // namespace varolen
