// The pilot's options for how the cockpit view moves, from the "[Motion]"
// section of the binding file. With none set the view moves as it always
// has: head latency that decays by a tenth each frame, transitions at one
// speed over half a second, effects that never yield.
//
// - SameAtAnyFrameRate: head latency, ground jolts and buffeting become
//   functions of time, equal to the frame-by-frame model at 30 frames a second.
// - TransitionSeconds, TransitionCurve: preset recalls take this long, at one
//   speed (linear) or on the minimum-jerk curve (smooth), which starts and
//   stops at rest, the zoom blended along in its logarithm.
// - YieldToLook: while the pilot turns the view faster than 30 degrees a
//   second (mouse look, head keys, tracked head) the effects fade out within
//   0.2 s, and come back over 0.5 s once the view has been still for 0.3 s.
// - LevelHead, LevelHeadLimit: the head rolls against the aircraft's bank,
//   less from 60 degrees of bank on and not at all beyond 90.
// - LookIntoTurn, LookIntoTurnLimit: the view leads into the turn, less as
//   the nose passes 60 degrees up or down; taxiing, it leads where the rudder
//   steers the nose wheel.
// - Touchdown, LoadFactor: what the body feels (cockpit/body_motion.h): the
//   touchdown's shake, the eye moved by the load factor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "cockpit/cockpit_controller.h"

namespace varolen {

enum class TransitionCurve : std::uint8_t { Linear, Smooth };

struct MotionOptionsRecord {
  bool sameAtAnyFrameRate;
  double transitionSeconds;  // 0.2 to 3.0
  TransitionCurve transitionCurve;
  double yieldToLook;        // 0 to 1: how much of the effects yields
  double levelHead;          // 0 to 1: the share of the bank the head rolls against
  double levelHeadLimit;     // degrees, 0 to 45
  double lookIntoTurn;       // 0 to 1: the share of two seconds' turn the view leads by
  double lookIntoTurnLimit;  // degrees, 0 to 45
  double touchdown;          // 0 to 2: the touchdown's shake, 1 as a firm landing has it
  double loadFactor;         // 0 to 2: the eye moved by the load factor, 1 at 2 cm a g
};

extern MotionOptionsRecord MotionOptions;

// The options as a fresh install has them: none set.
MotionOptionsRecord DefaultMotionOptions();

// Reads the [Motion] section over `options`: a value that is no number (or
// for TransitionCurve neither "linear" nor "smooth") is skipped; numbers are
// held within their ranges; a decimal point or comma.
void ReadMotionOptions(std::FILE* file, MotionOptionsRecord& options);

// The options by the names the binding file and the Motion dialog give them.
inline constexpr int kMotionOptionCount = 10;
extern const char* const kMotionOptionNames[kMotionOptionCount];
// Sets the named option from its text as the file does.
void SetMotionOption(MotionOptionsRecord& options, const char* name, const char* value);
// The option `index` (of kMotionOptionNames) as the file writes it.
void MotionOptionText(const MotionOptionsRecord& options, int index, char* text, std::size_t capacity);

// Where the cockpit view looks from and how: the eye, the angles, the zoom.
struct ViewPlace {
  Vec3 eye;
  Angles angles;
  double zoom;
};

// What the options keep from frame to frame.
struct MotionRecord {
  // A smooth transition under way: from where, to where, since when.
  bool transitionActive;
  double transitionStart;  // seconds of the cockpit's clock
  ViewPlace from, to;
  // Yielding to the pilot's look: where the view looked last frame, how long
  // it has been still, and the share of the effects shown (1 in full).
  bool lookKnown;
  Angles lastLook;
  double stillSeconds;
  double effectsShown;
  // The level head's roll against the bank and the look into the turn,
  // degrees, lagged; the heading the turn is measured from.
  double levelBank;
  double turnLead;
  bool headingKnown;
  double lastHeading;
};

extern const MotionRecord& Motion;

// A smooth transition from the view `from` to `to`, starting at `now`.
void BeginSmoothTransition(const ViewPlace& from, const ViewPlace& to, double now);
// The view at `now` on its way to `targets`: the eye, the angles (each the
// short way round) and the zoom (in its logarithm) where the minimum-jerk
// curve has them; false, and `place` untouched, once it has arrived or when
// something else set other targets meanwhile (keys, the mouse, the host).
bool StepSmoothTransition(const ViewPlace& targets, double now, ViewPlace& place);

// What the aircraft does, for the level head and the look into the turn, as
// the host gives it.
struct AircraftMotion {
  double pitch;  // degrees, positive nose down
  double bank;   // degrees, positive left wing down
  double heading;
  bool onGround;
  double groundSpeed;  // metres per second
  double rudder;       // radians, positive right rudder
};

// False while no option follows the pilot's look or the aircraft.
inline bool MotionFollows() {
  return MotionOptions.yieldToLook > 0.0 || MotionOptions.levelHead > 0.0 ||
         MotionOptions.lookIntoTurn > 0.0 || MotionOptions.touchdown > 0.0 || MotionOptions.loadFactor > 0.0;
}

// The share of the effects that has not yielded to the pilot's look (1 without YieldToLook).
double EffectsShown();

// One frame of the options that follow the pilot and the aircraft: `look` is
// where the pilot looks (the view's own angles with the tracked head), `step`
// seconds since the last frame.
void RunMotionOptions(const Angles& look, const AircraftMotion& aircraft, double step);

// The head motion's `effects` with the options on them, for a pilot looking
// `lookHeading` degrees right (the view's heading with the tracked head): the
// share that has not yielded, the head rolled against the bank (as pitch for
// a pilot who looks sideways), the lead into the turn. With no option set,
// the effects as they are.
Angles WithMotionOptions(const Angles& effects, double lookHeading);

// The options' records as a freshly loaded module has them.
void ResetMotion();

}  // namespace varolen
