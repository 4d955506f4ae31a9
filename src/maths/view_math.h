// The cockpit view's matrices and angles: 4x4 matrices of 32-bit floats as the
// host keeps them (row vectors, translation in row 3), angle wrapping, and the
// stepping of values and angles towards targets.
#pragma once

#include "maths/geometry.h"
#include "maths/numeric.h"

namespace varolen {

// A view never pitches past straight up or down, where its heading would flip.
inline constexpr double kMostViewPitch = 89.9;  // degrees

struct Matrix4 {
  float m[16];  // element [row][column] at 4 * row + column
  float At(int row, int column) const { return m[4 * row + column]; }
};

Matrix4 MakeTranslation(const Vec3& t);
// left x right; each element sums its four products into a 32-bit float.
Matrix4 MultiplyMatrix(const Matrix4& left, const Matrix4& right);
// p . M with w = 1, in 64-bit floats.
Vec3 TransformPoint(const Vec3& p, const Matrix4& matrix);
Matrix4 RotationX(double angle);  // radians
Matrix4 RotationY(double angle);
Matrix4 RotationZ(double angle);

// a - b into [-180, 180].
double AngleDifference(double a, double b);
// Pitch of the line of sight from a to b in radians, positive looking down; 0 when level.
double ElevationAngle(const Vec3& a, const Vec3& b);

// Pitch and heading of the viewing direction of a host orientation matrix
// (three rows of three floats); the bank is always 0.
Angles ViewAnglesFromMatrix(const float (&rows)[3][3]);

// Moves `value` towards `target` by rate x step; 1 when it arrived in this step.
int ApproachValue(double& value, double target, double rate, double step);
// The same for an angle, the shortest way round; the angle is not wrapped.
int ApproachAngle(double& angle, double target, double rate, double step);

// |x| minus its whole part.
double FractionOfMagnitude(double x);

}  // namespace varolen
