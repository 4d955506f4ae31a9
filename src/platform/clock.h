// The Windows multimedia clock.
#pragma once

#include <cstdint>

namespace varolen::platform {

// Milliseconds since the system started; wraps after 49.7 days.
std::uint32_t TimeGetTime();

// Waits on the calling thread (Sleep).
void SleepMilliseconds(std::uint32_t milliseconds);

}  // namespace varolen::platform
