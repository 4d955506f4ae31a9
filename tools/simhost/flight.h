// The aircraft's state at a moment of the run, and the host variables the
// module looks up, with the units this host gives them.
#pragma once

#include <cstdint>

#include "scenario.h"

namespace simhost {

using FlightState = Keyframe;

// The path interpolated at `time`; before the first keyframe and after the last
// the aircraft stays at that keyframe.
FlightState FlightStateAt(const Scenario& scenario, double time);

// The value the host's variable look-up gives for `id`; 0 for ids it does not know.
//   2   ground elevation, metres x 256        60  on the ground, 1 or 0
//   71  latitude, metres north (x 111130/deg) 72  longitude, 2^48 units per turn
//   73  altitude, metres                      77  pitch, 79 bank, 86 heading, degrees
//   343 wind, knots                           349 buffeting input (buffets below 9830)
//   551 longitudinal, 552 lateral, 553 vertical body velocity, feet per second
//   832 speed, knots
double HostVariable(const FlightState& state, std::uint32_t id);

// Every id the host answers, for hosts that keep a table.
inline constexpr std::uint32_t kHostVariableIds[] = {2,  60,  61,  71,  72,  73,  77, 79,
                                                     86, 343, 349, 551, 552, 553, 832};

}  // namespace simhost
