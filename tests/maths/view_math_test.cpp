// The cockpit view's angle and matrix operations.
#include "maths/view_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varolen {
namespace {

TEST(ViewMath, AnglesWrapAndDiffer) {
  const struct {
    double angle, normalized;
  } normalize[] = {{-30, 330}, {725, 5}, {360, 360}, {0, 0}, {-720, 0}, {1080.5, 0.5}};
  for (const auto& c : normalize) EXPECT_EQ(NormalizeDegrees(c.angle), c.normalized) << c.angle;
  const struct {
    double a, b, difference;
  } differences[] = {{10, 350, 20},  {350, 10, -20}, {180, 0, 180},
                     {0, 180, -180}, {370, -10, 20}, {45, 45, 0}};
  for (const auto& c : differences) EXPECT_EQ(AngleDifference(c.a, c.b), c.difference) << c.a << ' ' << c.b;
  EXPECT_EQ(FractionOfMagnitude(-2.75), 0.75);
  const double inf = std::numeric_limits<double>::infinity();
  for (const auto& [a, b] : {std::pair{std::nan(""), 3.0}, {inf, 3.0}, {3.0, -inf}, {inf, inf}})
    EXPECT_TRUE(std::isnan(AngleDifference(a, b))) << a << ' ' << b;  // and it returns
}

TEST(ViewMath, ValuesAndAnglesStepTowardsTheirTargets) {
  double value = 0;
  EXPECT_EQ(ApproachValue(value, 10, 10, 0.5), 0);
  EXPECT_EQ(value, 5);
  value = 0;
  EXPECT_EQ(ApproachValue(value, 10, 10, 1.5), 1);
  EXPECT_EQ(value, 10);
  value = 4;
  EXPECT_EQ(ApproachValue(value, -4, 2, 1), 0);
  EXPECT_EQ(value, 2);

  const struct {
    double step;
    double angles[3];  // after one, two and three steps from 350 towards 10 at 40 per second
    int arrived[3];
  } cases[] = {
      {0.3, {362, 10, 10}, {0, 1, 0}},
      // Landing exactly on the equal angle 370 is not replaced by 10, and stays.
      {0.25, {360, 370, 370}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    double angle = 350;
    for (int step = 0; step < 3; ++step) {
      EXPECT_EQ(ApproachAngle(angle, 10, 40, c.step), c.arrived[step]) << c.step << ' ' << step;
      EXPECT_DOUBLE_EQ(angle, c.angles[step]) << c.step << ' ' << step;
    }
  }
}

TEST(ViewMath, MatrixElementsAreRoundedAfterEveryTerm) {
  // 1 + 2^-24 + 2^-24: a single rounding would keep 1 + 2^-23; rounding after
  // each term loses both halves.
  Matrix4 left = {}, right = {};
  left.m[0] = 1.0f;
  left.m[1] = std::ldexp(1.0f, -24);
  left.m[2] = std::ldexp(1.0f, -24);
  right.m[0] = right.m[4] = right.m[8] = 1.0f;
  EXPECT_EQ(MultiplyMatrix(left, right).m[0], 1.0f);

  const Matrix4 turned = MultiplyMatrix(RotationY(0.3), RotationY(0.4));
  const Matrix4 once = RotationY(0.7);
  for (int index = 0; index < 16; ++index) EXPECT_NEAR(turned.m[index], once.m[index], 1e-6);
  const Vec3 moved = TransformPoint({1, 2, 3}, MakeTranslation({10, 20, 30}));
  EXPECT_EQ(moved.x, 11);
  EXPECT_EQ(moved.z, 33);
}

TEST(ViewMath, ViewAnglesFromHostMatrices) {
  const auto rows = [](const Matrix4& m) {
    float r[3][3];
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 3; ++column) r[row][column] = m.At(row, column);
    }
    return ViewAnglesFromMatrix(r);
  };
  const Angles right = rows(RotationY(90 * M_PI / 180));
  EXPECT_NEAR(right.heading, 90, 1e-5);
  EXPECT_NEAR(right.pitch, 0, 1e-5);
  // Straight ahead: 2 pi by 57.29577951471995 is just over 360.
  const Angles ahead = rows(RotationY(0));
  EXPECT_NEAR(ahead.heading, 360.0000000102895 - 360, 1e-12);
  const Angles down = rows(MultiplyMatrix(RotationX(20 * M_PI / 180), RotationY(-30 * M_PI / 180)));
  EXPECT_NEAR(down.pitch, 20, 1e-4);
  EXPECT_NEAR(down.heading, 330, 1e-4);
  EXPECT_EQ(down.bank, 0);
}

}  // namespace
}  // namespace varolen
