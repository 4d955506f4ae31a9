// What the pilot's body feels of the aircraft, as the motion options
// "Touchdown" and "LoadFactor" add it to the cockpit view: the eye dips and
// the view nods as the wheels meet the ground, by a shake that grows with the
// sink rate; the head is pressed down in a pull-up, lifted under less than
// 1 g and thrown sideways in a skid, through a spring and damper. Both are
// functions of time, the same at any frame rate.
#pragma once

#include "cockpit/cockpit_controller.h"
#include "maths/geometry.h"

namespace varolen {

// The aircraft as the host gives it this frame.
struct BodyMotionInput {
  bool onGround;
  double pitch, bank, heading;  // degrees: nose down, left wing down, clockwise from north
  double forward, side, up;     // velocity in the aircraft's axes, feet per second (551, 552, 553)
};

struct BodyMotionRecord {
  // The touchdown: how long the aircraft has been in the air, its sink rate
  // there, and the shake under way (its size, 1 at 10 ft/s, and its age).
  double airborneSeconds;
  double sinkFeetPerSecond;
  bool wasOnGround;
  bool shaking;
  double shakeSize;
  double shakeSeconds;
  // The load: the velocity last frame (world axes, metres per second, north,
  // east, up), the acceleration filtered, the load factor and the side load
  // (g), and the eye on its spring (cockpit axes: x right, y up; metres).
  bool velocityKnown;
  Vec3 lastVelocity;
  Vec3 acceleration;
  double loadFactor;
  double sideLoad;
  Vec3 eye;
  Vec3 eyeSpeed;
};

extern const BodyMotionRecord& BodyMotion;

// One frame of `step` seconds with the shares of the options (0 to 2, 0 off).
void RunBodyMotion(const BodyMotionInput& aircraft, double step, double touchdown, double loadFactor);

// What the body adds to the view now: the nod (degrees, down positive) and
// the eye's move (eye units, cockpit axes).
struct BodyMotionAdded {
  double pitch;
  Vec3 eye;
};
BodyMotionAdded BodyMotionNow(double touchdown, double loadFactor);

void ResetBodyMotion();

}  // namespace varolen
