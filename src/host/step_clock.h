// The time between frames, from the multimedia clock: the one way the module
// turns two clock readings into seconds.
#pragma once

#include <cstdint>

namespace varolen {

// A clock whose step is the time since its last reading.
struct StepClock {
  std::uint32_t reading;  // milliseconds, the last reading
  double step;            // seconds since the reading before, at most 1.0
};

// The step to `now`: the unsigned 32-bit difference of the exact readings,
// right after days of uptime and across the clock's wrap after 49.7 days, and
// at most a second (a frame after a pause moves things a second's worth).
inline double AdvanceClock(StepClock& clock, std::uint32_t now) {
  const double step = static_cast<std::uint32_t>(now - clock.reading) / 1000.0;
  clock.reading = now;
  clock.step = step > 1.0 ? 1.0 : step;
  return clock.step;
}

}  // namespace varolen
