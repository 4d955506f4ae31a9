#include "camera/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "camera/numeric.h"
#include "platform/host_memory.h"
#include "shell/host_layout.h"

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

namespace {

template <typename Word>
void WriteObserverWord(HostAddress address, Word word) {
  if (platform::HostWritable(address, sizeof word)) platform::WriteHost(address, word);
}

// A coordinate as the host's fixed point: the integer word is the floor (its
// low 32 bits), the fraction word the part above it, so that negative values
// sit where they are meant to.
void WriteFixedPoint(double value, HostAddress integerWord, HostAddress fractionWord) {
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  const double floor = std::floor(value);
  if (!TruncateToInt64(floor, whole) || !TruncateToInt64((value - floor) * kFractionScale, fraction)) return;
  WriteObserverWord(integerWord, static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
  WriteObserverWord(fractionWord, static_cast<std::uint32_t>(fraction));
}

}  // namespace

void SetObserverPosition(const GeoPosition& position) {
  const HostAddressRecord& at = HostAddresses;
  if (at.observerLatitudeInteger == 0) return;  // before start-up
  WriteFixedPoint(position.latitude / kHalfPi * kHostLatitudeScale, at.observerLatitudeInteger,
                  at.observerLatitudeFraction);
  WriteFixedPoint(position.longitude / kPi * kHostLongitudeScale, at.observerLongitudeInteger,
                  at.observerLongitudeFraction);
  std::int64_t metres = 0;
  if (TruncateToInt64(position.altitude * kFeetToMetres, metres)) {
    WriteObserverWord(at.observerAltitude, static_cast<std::uint16_t>(static_cast<std::uint64_t>(metres)));
  }
}

}  // namespace varolen
