// Head motion in the cockpit view: head latency that lags behind the aircraft's
// pitch, bank and turns, random ground jolts and buffeting jolts. The view
// update runs the steps in order and adds the offsets to the view.
#pragma once

#include "cockpit/cockpit_controller.h"

namespace varolen {

struct HeadMotionRecord {
  Angles AircraftAttitude;  // degrees, as the host gives them this frame
  Angles PrevAircraftAttitude;
  Angles LatencyOffset;
  Angles TurbOffset;
  Angles TurbTarget;
  Angles TurbRate;     // degrees per second
  double TurbTimer;    // seconds
  double BuffetLevel;  // 0.0 to 1.0
  // The latency's decay for the tick's step, worked out once per step
  // length; a decay of 0.0 is none worked out yet.
  double DecayStep;  // seconds
  double Decay;
};

extern const HeadMotionRecord& HeadMotion;

// Each step below is handed the tick's step, in seconds.
//
// Moves the turbulence towards its target and lets the latency decay: by a
// tenth each frame, or with "SameAtAnyFrameRate" by a tenth each thirtieth of
// a second (the turbulence then moves with its draws).
void AdvanceTurbulence(double step);
// Counts down to the next jolt and draws its target and rate: seven draws of
// the random generator. `buffet` is the host's buffeting input. With
// "SameAtAnyFrameRate", every jolt whose wait runs out within the step is
// followed for its share of the step.
void DrawTurbulenceTargets(double onGround, double speed, double buffet, double step);
// Lags the head behind the aircraft's attitude change since the last update,
// re-expressed for a pilot looking `lookHeading` degrees right (the view's
// heading with the tracked head).
void ApplyHeadLatency(double heightAboveGround, double lookHeading, double step);

// The aircraft's attitude of this view update (degrees, as the host gives
// them), which the latency measures the change to; and, after the update,
// kept as the one the next update starts from.
void TakeAircraftAttitude(const Angles& attitude);
void KeepAircraftAttitude();
// The head motion as a freshly loaded module has it.
void ResetHeadMotion();

}  // namespace varolen
