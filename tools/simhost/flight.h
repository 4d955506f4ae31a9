// The aircraft's state at a moment of the run, and the host variables the
// module looks up, in the units and signs of the host's panel SDK
// (docs/host-facts.md, which a test holds this table to).
#pragma once

#include <array>
#include <cstdint>

#include "scenario.h"

namespace simhost {

using FlightState = Keyframe;

// The path interpolated at `time`; before the first keyframe and after the last
// the aircraft stays at that keyframe.
FlightState FlightStateAt(const Scenario& scenario, double time);

// One variable the host answers: its id, the SDK's token, the unit and sign
// as the host-facts page words them, and its value for a flight state.
struct HostVariableFact {
  std::uint32_t id;
  const char* token;
  const char* unit;
  const char* sign;
  double (*value)(const FlightState& state);
};

extern const std::array<HostVariableFact, 16> kHostVariables;

// The value the host's variable look-up gives for `id`; 0 for ids it does not know.
double HostVariable(const FlightState& state, std::uint32_t id);

}  // namespace simhost
