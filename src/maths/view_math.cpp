#include "maths/view_math.h"

#include <cmath>
#include <limits>

#include "maths/numeric.h"

namespace varolen {

namespace {

Matrix4 Identity() {
  Matrix4 matrix = {};
  for (std::size_t index = 0; index < 4; ++index) matrix.m[5 * index] = 1.0f;
  return matrix;
}

}  // namespace

Matrix4 MakeTranslation(const Vec3& t) {
  Matrix4 matrix = Identity();
  matrix.m[12] = static_cast<float>(t.x);
  matrix.m[13] = static_cast<float>(t.y);
  matrix.m[14] = static_cast<float>(t.z);
  return matrix;
}

Matrix4 MultiplyMatrix(const Matrix4& left, const Matrix4& right) {
  Matrix4 product = {};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float element = 0.0f;
      for (int k = 0; k < 4; ++k) {
        // The product of two floats is exact in a double; the sum is rounded
        // back to 32 bits after every term.
        element = static_cast<float>(static_cast<double>(element) +
                                     static_cast<double>(left.At(row, k)) * right.At(k, column));
      }
      product.m[4 * row + column] = element;
    }
  }
  return product;
}

Vec3 TransformPoint(const Vec3& p, const Matrix4& matrix) {
  const auto column = [&](int c) {
    return p.x * matrix.At(0, c) + p.y * matrix.At(1, c) + p.z * matrix.At(2, c) + matrix.At(3, c);
  };
  return {column(0), column(1), column(2)};
}

Matrix4 RotationX(double angle) {
  Matrix4 matrix = Identity();
  matrix.m[5] = static_cast<float>(std::cos(angle));
  matrix.m[6] = static_cast<float>(std::sin(angle));
  matrix.m[9] = static_cast<float>(-std::sin(angle));
  matrix.m[10] = static_cast<float>(std::cos(angle));
  return matrix;
}

Matrix4 RotationY(double angle) {
  Matrix4 matrix = Identity();
  matrix.m[0] = static_cast<float>(std::cos(angle));
  matrix.m[2] = static_cast<float>(-std::sin(angle));
  matrix.m[8] = static_cast<float>(std::sin(angle));
  matrix.m[10] = static_cast<float>(std::cos(angle));
  return matrix;
}

Matrix4 RotationZ(double angle) {
  Matrix4 matrix = Identity();
  matrix.m[0] = static_cast<float>(std::cos(angle));
  matrix.m[1] = static_cast<float>(std::sin(angle));
  matrix.m[4] = static_cast<float>(-std::sin(angle));
  matrix.m[5] = static_cast<float>(std::cos(angle));
  return matrix;
}

double AngleDifference(double a, double b) {
  a = NormalizeDegrees(a) + 720.0;
  b = NormalizeDegrees(b) + 720.0;
  double difference = a - b;
  // Without a finite difference there is no angle between them (and an
  // infinite one would turn the loops below for ever).
  if (!std::isfinite(difference)) return std::numeric_limits<double>::quiet_NaN();
  // Both lie in [720, 1080] here, so each loop turns at most twice.
  while (difference < -180.0) difference += 360.0;
  while (difference > 180.0) difference -= 360.0;
  return difference;
}

double ElevationAngle(const Vec3& a, const Vec3& b) {
  const double dy = a.y - b.y;
  if (dy == 0.0) return 0.0;
  return std::atan2(a.z - b.z, dy) + kHalfPi;
}

Angles ViewAnglesFromMatrix(const float (&rows)[3][3]) {
  Matrix4 matrix = {};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) matrix.m[4 * row + column] = rows[row][column];
  }
  matrix.m[15] = 1.0f;
  Vec3 nearPoint = TransformPoint({0.0, 0.0, 1.0}, matrix);
  Vec3 farPoint = TransformPoint({0.0, 0.0, 2.0}, matrix);
  const double heading = NormalizeDegrees(HorizontalBearing(nearPoint, farPoint) * kRadiansToDegrees);
  RotateHeading(nearPoint, heading * -kDegreesToRadians);
  RotateHeading(farPoint, heading * -kDegreesToRadians);
  return {NormalizeDegrees(ElevationAngle(nearPoint, farPoint) * kRadiansToDegrees), heading, 0.0};
}

int ApproachValue(double& value, double target, double rate, double step) {
  if (value == target) return 0;
  if (target - value > 0.0) {
    value += rate * step;
    if (value > target) {
      value = target;
      return 1;
    }
    return 0;
  }
  value -= rate * step;
  if (value < target) {
    value = target;
    return 1;
  }
  return 0;
}

int ApproachAngle(double& angle, double target, double rate, double step) {
  if (angle == target) return 0;
  const double before = AngleDifference(target, angle);
  if (before == 0.0) return 0;
  angle += before > 0.0 ? rate * step : -(rate * step);
  const double after = AngleDifference(target, angle);
  if ((before > 0.0 && after < 0.0) || (before < 0.0 && after > 0.0)) {
    angle = target;
    return 1;
  }
  return 0;
}

double FractionOfMagnitude(double x) {
  const double magnitude = std::fabs(x);
  return magnitude - std::trunc(magnitude);
}

}  // namespace varolen
