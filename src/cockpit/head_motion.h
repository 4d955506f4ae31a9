// Head motion in the cockpit view: head latency that lags behind the aircraft's
// pitch, bank and turns, random ground jolts and buffeting jolts. Each step is
// an operation of the cockpit controller; the view update runs them in order
// and adds the offsets to the view.
#pragma once

#include "cockpit/cockpit_controller.h"

namespace varolen {

// Moves the turbulence towards its target and lets the latency decay.
void AdvanceTurbulence(CockpitControllerRecord& controller);
// Counts down to the next jolt and draws its target and rate: seven draws of
// the random generator. `buffet` is the host's buffeting input.
void DrawTurbulenceTargets(CockpitControllerRecord& controller, double onGround, double speed, double buffet);
// Lags the head behind the aircraft's attitude change since the last update.
void ApplyHeadLatency(CockpitControllerRecord& controller, double heightAboveGround);

}  // namespace varolen
