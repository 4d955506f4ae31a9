#include "maths/geometry.h"

#include <algorithm>
#include <cmath>

namespace varolen {

double Length(const Vec3& a) { return std::sqrt(Dot(a, a)); }

void Normalize(Vec3& v) {
  const double length = Length(v);
  if (length != 0.0) {
    v = {v.x / length, v.y / length, v.z / length};
  } else {
    v = {0.0, 0.0, 1.0};
  }
}

double HorizontalBearing(const Vec3& a, const Vec3& b) {
  const double dx = a.x - b.x;
  const double dz = a.z - b.z;
  if (dx == 0.0 && dz == 0.0) return 0.0;
  return std::atan2(dx, dz) + kPi;
}

double VerticalAngle(const Vec3& a, const Vec3& b) {
  const double dy = a.y - b.y;
  const double dz = a.z - b.z;
  if (dy != 0.0) return std::atan2(dz, dy) + kHalfPi;
  return dz > 0.0 ? kPi : 0.0;
}

void OffsetPosition(const GeoPosition& start, const Vec3& offset, GeoPosition& result) {
  constexpr Vec3 kCentre = {0.0, 0.0, 0.0};
  Vec3 p = {offset.x, kOffsetSphereRadius, offset.z};
  RotatePitch(p, -kHalfPi);
  RotatePitch(p, start.latitude);
  RotateHeading(p, -start.longitude);
  RotateHeading(p, kPi);
  result.longitude = -HorizontalBearing(kCentre, p);
  RotateHeading(p, result.longitude);
  result.latitude = -VerticalAngle(kCentre, p);
  result.altitude = 0.0;
}

void GreatCircle(const GeoPosition& from, const GeoPosition& to, double& distance, double& course) {
  double longitudeDifference = to.longitude - from.longitude;
  if (std::fabs(longitudeDifference) > kPi) {
    longitudeDifference =
        (2.0 * kPi - std::fabs(longitudeDifference)) * (longitudeDifference > 0.0 ? -1.0 : 1.0);
  }
  const double cosine = std::sin(from.latitude) * std::sin(to.latitude) +
                        std::cos(from.latitude) * std::cos(to.latitude) * std::cos(longitudeDifference);
  // Rounding can take the cosine of a tiny arc past 1, where acos has no value.
  const double arc = std::acos(std::clamp(cosine, -1.0, 1.0));
  if (arc == kPi) {
    distance = 0.0;
    course = 0.0;
    return;
  }
  course = std::acos((std::sin(to.latitude) - std::sin(from.latitude) * std::cos(arc)) /
                     (std::sin(arc) * std::cos(from.latitude))) *
           kRadiansToDegrees;
  if (longitudeDifference < 0.0) course = 360.0 - course;
  distance = std::fabs(arc) * kRadiansToDegrees * kMetresPerArcDegree;
}

}  // namespace varolen
