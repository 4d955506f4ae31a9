#include "cockpit/motion.h"

#include <algorithm>
#include <cmath>

#include "host/sections.h"
#include "host/text.h"
#include "maths/geometry.h"
#include "maths/view_math.h"

namespace varolen {

namespace {

MotionRecord FreshMotion() {
  MotionRecord fresh = {};
  fresh.effectsShown = 1.0;
  return fresh;
}

constexpr double kLookingDegreesPerSecond = 30.0;  // faster than this the pilot is looking round
constexpr double kFadeOutSeconds = 0.2;
constexpr double kStillSeconds = 0.3;
constexpr double kFadeInSeconds = 0.5;
constexpr double kLagSeconds = 0.3;         // the level head and the look into the turn follow this late
constexpr double kLeadSeconds = 2.0;        // the turn looked into: the next two seconds of it
constexpr double kKnots = 1852.0 / 3600.0;  // metres per second
constexpr double kSteeringSpeed =
    30.0 * kKnots;  // slower on the ground, the view leads where the rudder steers
constexpr double kStandstillSpeed =
    1.0 * kKnots;  // slower still, the aircraft turns on its brakes, if at all
// The nose wheel turns with the rudder and turns the aircraft about its main
// wheels, this far behind it (a light aircraft's wheelbase).
constexpr double kWheelbaseMetres = 1.65;
// Banked or pitched this far the effects that follow them begin to fade;
// they are gone at 90 degrees (no swing through a roll or over a loop).
constexpr double kFadeFromDegrees = 60.0;
constexpr double kFadeToDegrees = 90.0;
constexpr double kMostLimitDegrees = 45.0;

// The numbered options with their ranges, as the file and the motion dialog give them.
struct NumberOption {
  const char* name;
  double MotionOptionsRecord::*field;
  double least, most;
};
constexpr NumberOption kNumbers[] = {
    {"TransitionSeconds", &MotionOptionsRecord::transitionSeconds, 0.2, 3.0},
    {"YieldToLook", &MotionOptionsRecord::yieldToLook, 0.0, 1.0},
    {"LevelHead", &MotionOptionsRecord::levelHead, 0.0, 1.0},
    {"LevelHeadLimit", &MotionOptionsRecord::levelHeadLimit, 0.0, kMostLimitDegrees},
    {"LookIntoTurn", &MotionOptionsRecord::lookIntoTurn, 0.0, 1.0},
    {"LookIntoTurnLimit", &MotionOptionsRecord::lookIntoTurnLimit, 0.0, kMostLimitDegrees},
    {"Touchdown", &MotionOptionsRecord::touchdown, 0.0, 2.0},
    {"LoadFactor", &MotionOptionsRecord::loadFactor, 0.0, 2.0},
};

void TakeOption(void* context, const char* name, const char* value) {
  SetMotionOption(*static_cast<MotionOptionsRecord*>(context), name, value);
}

// A step of a first-order lag toward `target` that goes `share` of the way.
double Lagged(double value, double target, double share) { return value + (target - value) * share; }

// The minimum-jerk curve: the share of the way at the share of the time u,
// 10u^3 - 15u^4 + 6u^5, at rest at both ends.
double MinimumJerk(double u) { return u * u * u * (10.0 + u * (-15.0 + 6.0 * u)); }

// 1 up to 60 degrees either way, nothing from 90 degrees on, in a line between.
double FadeBeyondSixty(double degrees) {
  return std::clamp((kFadeToDegrees - std::fabs(degrees)) / (kFadeToDegrees - kFadeFromDegrees), 0.0, 1.0);
}

}  // namespace

MotionOptionsRecord MotionOptions = DefaultMotionOptions();
namespace {
MotionRecord motion = FreshMotion();
}  // namespace

const MotionRecord& Motion = motion;

MotionOptionsRecord DefaultMotionOptions() {
  return {false, 0.5, TransitionCurve::Linear, 0.0, 0.0, 20.0, 0.0, 15.0, 0.0, 0.0};
}

const char* const kMotionOptionNames[kMotionOptionCount] = {
    "SameAtAnyFrameRate", "TransitionSeconds", "TransitionCurve",   "YieldToLook", "LevelHead",
    "LevelHeadLimit",     "LookIntoTurn",      "LookIntoTurnLimit", "Touchdown",   "LoadFactor"};

void SetMotionOption(MotionOptionsRecord& options, const char* name, const char* value) {
  if (EqualIgnoringCase(name, "TransitionCurve")) {
    if (EqualIgnoringCase(value, "linear")) options.transitionCurve = TransitionCurve::Linear;
    if (EqualIgnoringCase(value, "smooth")) options.transitionCurve = TransitionCurve::Smooth;
    return;
  }
  double number = 0.0;
  if (!SectionNumber(value, number)) return;
  for (const NumberOption& option : kNumbers) {
    if (EqualIgnoringCase(name, option.name))
      options.*option.field = std::clamp(number, option.least, option.most);
  }
  if (EqualIgnoringCase(name, "SameAtAnyFrameRate")) options.sameAtAnyFrameRate = number != 0.0;
}

void MotionOptionText(const MotionOptionsRecord& options, int index, char* text, std::size_t capacity) {
  const char* name = kMotionOptionNames[index];
  if (EqualIgnoringCase(name, "SameAtAnyFrameRate")) {
    FormatText(text, capacity, "%d", options.sameAtAnyFrameRate ? 1 : 0);
  } else if (EqualIgnoringCase(name, "TransitionCurve")) {
    FormatText(text, capacity, "%s",
               options.transitionCurve == TransitionCurve::Smooth ? "smooth" : "linear");
  } else {
    for (const NumberOption& option : kNumbers) {
      if (EqualIgnoringCase(name, option.name)) FormatText(text, capacity, "%g", options.*option.field);
    }
  }
}

void ReadMotionOptions(std::FILE* file, MotionOptionsRecord& options) {
  ReadSectionValues(file, "[motion]", TakeOption, &options);
}

void BeginSmoothTransition(const ViewPlace& from, const ViewPlace& to, double now) {
  MotionRecord& m = motion;
  m.transitionActive = true;
  m.transitionStart = now;
  m.from = from;
  m.to = to;
}

bool StepSmoothTransition(const ViewPlace& targets, double now, ViewPlace& place) {
  MotionRecord& m = motion;
  if (!m.transitionActive) return false;
  const ViewPlace& to = m.to;
  const bool targetsKept = targets.eye.x == to.eye.x && targets.eye.y == to.eye.y &&
                           targets.eye.z == to.eye.z && targets.angles.pitch == to.angles.pitch &&
                           targets.angles.heading == to.angles.heading &&
                           targets.angles.bank == to.angles.bank && targets.zoom == to.zoom;
  const double u = (now - m.transitionStart) / MotionOptions.transitionSeconds;
  m.transitionActive = targetsKept && u < 1.0;
  if (!targetsKept) return false;
  if (!m.transitionActive) {
    place = to;
    return true;
  }
  const ViewPlace& from = m.from;
  const double s = MinimumJerk(std::max(u, 0.0));
  const auto along = [s](double start, double end) { return start + (end - start) * s; };
  const auto around = [s](double start, double end) { return start + AngleDifference(end, start) * s; };
  place.eye = {along(from.eye.x, to.eye.x), along(from.eye.y, to.eye.y), along(from.eye.z, to.eye.z)};
  place.angles = {around(from.angles.pitch, to.angles.pitch), around(from.angles.heading, to.angles.heading),
                  around(from.angles.bank, to.angles.bank)};
  // 1 to 4 feels as even as 4 to 1 in the logarithm of the zoom; a zoom
  // that has none moves along in a straight line.
  const bool logarithmic = from.zoom > 0.0 && to.zoom > 0.0 && std::isfinite(from.zoom * to.zoom);
  place.zoom =
      logarithmic ? std::exp(along(std::log(from.zoom), std::log(to.zoom))) : along(from.zoom, to.zoom);
  return true;
}

namespace {

void UpdateLookYield(const Angles& look, double step) {
  MotionRecord& m = motion;
  if (!m.lookKnown) {
    m.lastLook = look;
    m.lookKnown = true;
    return;
  }
  const double turned = std::hypot(AngleDifference(look.heading, m.lastLook.heading),
                                   AngleDifference(look.pitch, m.lastLook.pitch));
  m.lastLook = look;
  if (turned > kLookingDegreesPerSecond * step) {
    m.stillSeconds = 0.0;
    m.effectsShown = std::max(0.0, m.effectsShown - step / kFadeOutSeconds);
  } else {
    m.stillSeconds += step;
    if (m.stillSeconds >= kStillSeconds)
      m.effectsShown = std::min(1.0, m.effectsShown + step / kFadeInSeconds);
  }
}

// The rate of turn, degrees a second: in the air the heading's; slow on the
// ground the nose wheel's, steered by the rudder (speed x tan(rudder) /
// wheelbase), which holds steady where the heading moves in steps; none at a
// standstill.
double TurnRate(const AircraftMotion& aircraft, double step) {
  MotionRecord& m = motion;
  const bool known = m.headingKnown;
  const double heading = m.lastHeading;
  m.lastHeading = aircraft.heading;
  m.headingKnown = true;
  if (!aircraft.onGround || aircraft.groundSpeed >= kSteeringSpeed)
    return known ? AngleDifference(aircraft.heading, heading) / step : 0.0;
  if (aircraft.groundSpeed >= kStandstillSpeed)
    return aircraft.groundSpeed * std::tan(aircraft.rudder) / kWheelbaseMetres * kRadiansToDegrees;
  return 0.0;
}

void UpdateLevelHeadAndTurn(const AircraftMotion& aircraft, double step) {
  const MotionOptionsRecord& options = MotionOptions;
  MotionRecord& m = motion;
  // Against the bank, as the head lags against it: the horizon held level.
  const double level =
      std::clamp(-options.levelHead * aircraft.bank, -options.levelHeadLimit, options.levelHeadLimit) *
      FadeBeyondSixty(aircraft.bank);
  // The same share of the way at any frame rate.
  const double share = 1.0 - std::exp(-step / kLagSeconds);
  if (std::isfinite(level)) m.levelBank = Lagged(m.levelBank, level, share);
  // Into the turn, as the head swings into it: the heading two seconds on.
  const double lead = std::clamp(options.lookIntoTurn * TurnRate(aircraft, step) * kLeadSeconds,
                                 -options.lookIntoTurnLimit, options.lookIntoTurnLimit) *
                      FadeBeyondSixty(aircraft.pitch);
  if (std::isfinite(lead)) m.turnLead = Lagged(m.turnLead, lead, share);
}

}  // namespace

void RunMotionOptions(const Angles& look, const AircraftMotion& aircraft, double step) {
  const MotionOptionsRecord& options = MotionOptions;
  if (!(step > 0.0)) return;
  if (options.yieldToLook > 0.0) UpdateLookYield(look, step);
  if (options.levelHead > 0.0 || options.lookIntoTurn > 0.0) UpdateLevelHeadAndTurn(aircraft, step);
}

double EffectsShown() { return 1.0 - MotionOptions.yieldToLook * (1.0 - motion.effectsShown); }

Angles WithMotionOptions(const Angles& effects, double lookHeading) {
  const MotionOptionsRecord& options = MotionOptions;
  const MotionRecord& m = motion;
  Angles added = effects;
  if (options.yieldToLook > 0.0) {
    const double share = EffectsShown();
    added = {added.pitch * share, added.heading * share, added.bank * share};
  }
  if (options.levelHead > 0.0) {
    // A pilot who looks sideways sees the bank as the horizon's pitch.
    Vec3 level = {0.0, 0.0, m.levelBank};
    RotateHeading(level, -lookHeading * kDegreesToRadians);
    added.pitch += level.x;
    added.bank += level.z;
  }
  if (options.lookIntoTurn > 0.0) added.heading += m.turnLead;
  return added;
}

void ResetMotion() {
  MotionOptions = DefaultMotionOptions();
  motion = FreshMotion();
}

}  // namespace varolen
