// Camera math against values worked out independently: on a sphere a point d
// metres east of latitude phi in the tangent plane lies at longitude
// atan2(d, R cos phi) from the start, and one minute of arc is 1852 m.
#include "maths/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "maths/numeric.h"

namespace varolen {
namespace {

constexpr double kR = 6367310.0;
double Radians(double degrees) { return degrees * M_PI / 180.0; }
double Degrees(double radians) { return radians * 180.0 / M_PI; }

TEST(Geometry, BearingsOfTheFourQuadrants) {
  const Vec3 zero = {0, 0, 0};
  const struct {
    Vec3 to;
    double bearing;
  } cases[] = {
      {{1, 0, 0}, M_PI / 2}, {{0, 0, 1}, 2 * M_PI}, {{0, 0, -1}, M_PI},    {{-1, 0, 0}, 3 * M_PI / 2},
      {{0, 5, 0}, 0.0},      {{0, 0, 0}, 0.0},      {{1, 0, 1}, M_PI / 4},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(HorizontalBearing(zero, c.to), c.bearing, 1e-12) << c.to.x << ' ' << c.to.z;
  }
  // Straight above: no direction. Level ahead or behind: pi or 0.
  EXPECT_EQ(VerticalAngle(zero, {0, 0, 1}), 0.0);
  EXPECT_NEAR(VerticalAngle(zero, {0, 0, -1}), M_PI, 1e-15);
  EXPECT_EQ(VerticalAngle(zero, {0, 0, 0}), 0.0);
  EXPECT_NEAR(VerticalAngle(zero, {0, 1, 1}), -M_PI / 4, 1e-12);  // up and ahead
}

TEST(Geometry, OffsetPositionProjectsTheTangentPlaneOntoTheSphere) {
  const struct {
    double latitude, longitude;  // degrees
    double east, north;          // metres
    double expectedLongitude;    // degrees, as the module gives it (a whole turn below where positive)
  } cases[] = {
      {0, 0, 1000, 0, -359.991002},     {0, 0, 0, 1000, -360.0},  {47, -122, 1000, 0, -121.986806},
      {-33, 151, 1000, 0, -208.989271}, {60, 10, -2500, 3000, 0},
  };
  for (const auto& c : cases) {
    GeoPosition result;
    OffsetPosition({Radians(c.latitude), Radians(c.longitude), 500.0}, {c.east, 99.0, c.north}, result);
    // Independently: the tangent-plane point in earth-centred axes, then its latitude and longitude.
    const double phi = Radians(c.latitude), lambda = Radians(c.longitude);
    const double n[3] = {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
    const double e[3] = {-std::sin(lambda), std::cos(lambda), 0};
    const double u[3] = {-std::sin(phi) * std::cos(lambda), -std::sin(phi) * std::sin(lambda), std::cos(phi)};
    double p[3];
    for (int i = 0; i < 3; ++i) p[i] = kR * n[i] + c.east * e[i] + c.north * u[i];
    double longitude = std::atan2(p[1], p[0]);
    if (longitude >= 0) longitude -= 2 * M_PI;
    EXPECT_NEAR(result.longitude, longitude, 1e-9) << c.latitude << ' ' << c.longitude;
    EXPECT_NEAR(result.latitude, std::atan2(p[2], std::hypot(p[0], p[1])), 1e-9);
    EXPECT_EQ(result.altitude, 0.0);
    if (c.expectedLongitude != 0) {
      EXPECT_NEAR(Degrees(result.longitude), c.expectedLongitude, 1e-6);
    }
  }
}

TEST(Geometry, GreatCircleDistances) {
  double distance = -1, course = -1;
  GreatCircle({Radians(47), Radians(8), 0}, {Radians(47 + 1.0 / 60), Radians(8), 0}, distance, course);
  EXPECT_NEAR(distance, 1852.0, 1e-4);
  EXPECT_NEAR(course, 0.0, 1e-3);  // acos near 1 is coarse
  GreatCircle({Radians(47), Radians(8), 0}, {Radians(47), Radians(8 + 1.0 / 60), 0}, distance, course);
  EXPECT_NEAR(distance, 1852.0 * std::cos(Radians(47)), 0.01);
  EXPECT_NEAR(course, 90.0, 0.01);
  // Equal and nearly equal positions: zero, never NaN.
  for (double latitude : {0.3, 0.7, 1.2}) {
    GreatCircle({latitude, 0.1, 0}, {latitude, 0.1, 0}, distance, course);
    EXPECT_EQ(distance, 0.0) << latitude;
  }
  GreatCircle({0, 0, 0}, {0, M_PI, 0}, distance, course);  // antipodes
  EXPECT_EQ(distance, 0.0);
}

TEST(Numeric, WrappingMatchesThePlainLoopsAndAlwaysEnds) {
  const auto downThenUp = [](double x) {
    while (x > 360) x -= 360;
    while (x < 0) x += 360;
    return x;
  };
  const auto upThenDown = [](double x) {
    while (x < 0) x += 360;
    while (x > 360) x -= 360;
    return x;
  };
  // Both orders of the loops give the same number, so one wrapper serves both.
  for (double x : {0.0, 360.0, 360.00000001, 720.0, 725.5, -30.0, -360.0, -1e-20, -0.0, 359.999999,
                   1e6 + 0.25, -1e6 - 0.75, 1e-300, 123456789.123}) {
    EXPECT_EQ(NormalizeDegrees(x), downThenUp(x)) << x;
    EXPECT_EQ(NormalizeDegrees(x), upThenDown(x)) << x;
  }
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(NormalizeDegrees(inf), inf);
  EXPECT_TRUE(std::isnan(NormalizeDegrees(std::nan(""))));
  EXPECT_GE(NormalizeDegrees(1e300), 0.0);
  EXPECT_LE(NormalizeDegrees(1e300), 360.0);

  std::int64_t value = 7;
  EXPECT_TRUE(TruncateToInt64(-2.75, value));
  EXPECT_EQ(value, -2);
  EXPECT_TRUE(TruncateToInt64(-9223372036854775808.0, value));
  EXPECT_FALSE(TruncateToInt64(9223372036854775808.0, value));
  EXPECT_FALSE(TruncateToInt64(inf, value));
  EXPECT_FALSE(TruncateToInt64(std::nan(""), value));
}

}  // namespace
}  // namespace varolen
