// The cockpit's own clock, handed to each of the cockpit's steps. The
// cockpit's state lies with the part that writes it: the view with the view update
// (view_update.h), the head motion with its effects (head_motion.h), the keys
// held with the movement keys (movement_keys.h).
#pragma once

#include <cstdint>

#include "host/step_clock.h"
#include "maths/geometry.h"

namespace varolen {

// The cockpit's clock: its step is the time since the cockpit last ran (at
// most a second), which differs from the frame's after the cockpit view was off.
struct CockpitTickRecord {
  StepClock clock;  // clock.step is the tick's step, seconds
  double TickTime;  // seconds of the multimedia clock at the tick
};

extern const CockpitTickRecord& CockpitTick;

// The cockpit's tick at the clock reading `now`.
const CockpitTickRecord& AdvanceCockpitTick(std::uint32_t now);
// The tick as a freshly loaded module has it.
void ResetCockpitTick();

}  // namespace varolen
