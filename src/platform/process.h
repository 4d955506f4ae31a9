// The module's own file and thread.
#pragma once

#include <cstdint>

namespace varolen::platform {

using ModuleHandle = std::uintptr_t;

// Copies the full path of the module's file into `buffer` (always terminated).
// Returns its length, or `capacity` when the path did not fit and was cut.
std::uint32_t ModuleFilePath(ModuleHandle module, char* buffer, std::uint32_t capacity);

std::uint32_t CurrentThreadId();

}  // namespace varolen::platform
