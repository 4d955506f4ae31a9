// The Windows multimedia clock.
#pragma once

#include <cstdint>

namespace varolen::platform {

// Milliseconds since the system started; wraps after 49.7 days.
std::uint32_t TimeGetTime();

}  // namespace varolen::platform
