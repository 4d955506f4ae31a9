// Files of the simulator's folder: the binding file, view files and sounds.
#pragma once

#include <cstdio>

namespace varolen::platform {

// fopen with the module's Windows paths (backslashes). Null when it cannot be opened.
std::FILE* OpenFile(const char* path, const char* mode);

}  // namespace varolen::platform
