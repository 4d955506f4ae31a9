// The geometry the cameras stand on: vectors in a local frame, two rotations,
// bearings, offsets from a geographic position on a sphere and the
// great-circle distance.
#pragma once

#include <cmath>

namespace varolen {

// x east (right), y up, z north (forward); metres unless a caller says otherwise.
struct Vec3 {
  double x;
  double y;
  double z;
};

// Pitch, heading and bank, in degrees unless a caller says otherwise.
struct Angles {
  double pitch;
  double heading;
  double bank;
};

struct GeoPosition {
  double latitude;   // radians, north positive
  double longitude;  // radians, east positive
  double altitude;   // feet
};

// The constants each computation uses; they are not all the same earth.
inline constexpr double kDegreesToRadians = 0.01745329251944;
inline constexpr double kRadiansToDegrees = 57.29577951471995;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kHalfPi = 1.5707963267948966;
// A quarter and a half turn in the module's own degree measure (90 and 180 x
// kDegreesToRadians, as the walking pilot and the ground probe turn).
inline constexpr double kQuarterTurnRadians = 1.5707963267496;
inline constexpr double kHalfTurnRadians = 3.1415926534992;
inline constexpr double kOffsetSphereRadius = 6367310.0;  // metres
inline constexpr double kFeetToMetres = 0.3048;
inline constexpr double kMetresToFeet = 3.28084;
inline constexpr double kMetresPerArcDegree = 60.0 * 1852.0;
inline constexpr double kMetresPerSecondToKnots = 3600.0 / 1852.0;

// Inline, with the rotations: the ground probe and the click-area search run them
// thousands of times a frame.
inline double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(const Vec3& a);
// A unit vector; the zero vector becomes (0, 0, 1).
void Normalize(Vec3& v);

// About the x axis.
inline void RotatePitch(Vec3& v, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  v = {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
}
// About the y axis, clockwise seen from above: (0, 0, 1) turned by h is (sin h, 0, cos h).
inline void RotateHeading(Vec3& v, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  v = {c * v.x + s * v.z, v.y, c * v.z - s * v.x};
}

// Direction of b seen from a, clockwise from +z, in (0, 2 pi]; 0 when b is straight above or below a.
double HorizontalBearing(const Vec3& a, const Vec3& b);
double VerticalAngle(const Vec3& a, const Vec3& b);

// Moves offset.x metres east and offset.z north in the tangent plane at `start`
// and projects back onto the sphere. The result's longitude lies in [-2 pi, 0);
// its altitude is 0.
void OffsetPosition(const GeoPosition& start, const Vec3& offset, GeoPosition& result);

// Distance in metres and initial course in degrees from `from` to `to`.
void GreatCircle(const GeoPosition& from, const GeoPosition& to, double& distance, double& course);

}  // namespace varolen
