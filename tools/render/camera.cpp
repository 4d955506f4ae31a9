#include "camera.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111130.0;  // as the host's latitude variable counts
double Radians(double degrees) { return degrees * kPi / 180.0; }
}  // namespace

Vec operator+(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(const Vec& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(const Vec& a, const Vec& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Unit(const Vec& a) {
  const double length = std::sqrt(Dot(a, a));
  return length > 0 ? a * (1.0 / length) : Vec{0, 0, -1};
}

Vec Reference::Local(double lat, double lon, double altitudeMetres) const {
  const double north = (lat - latitude) * kMetresPerDegree;
  double east = lon - longitude;
  east -= 360.0 * std::round(east / 360.0);
  east *= kMetresPerDegree * std::cos(Radians(latitude));
  return {east, altitudeMetres, -north};
}

Basis WorldAxes() { return {{1, 0, 0}, {0, 1, 0}, {0, 0, -1}}; }

Basis AircraftAxes(double heading, double pitch, double bank) {
  const double h = Radians(heading), p = Radians(pitch), b = Radians(bank);
  const Vec forward0 = {std::sin(h), 0, -std::cos(h)};
  const Vec right0 = {std::cos(h), 0, std::sin(h)};
  const Vec up0 = {0, 1, 0};
  const Vec forward = forward0 * std::cos(p) - up0 * std::sin(p);  // nose down for p > 0
  const Vec up1 = up0 * std::cos(p) + forward0 * std::sin(p);
  const Vec right = right0 * std::cos(b) + up1 * std::sin(b);  // left wing down for b > 0
  const Vec up = up1 * std::cos(b) - right0 * std::sin(b);
  return {right, up, forward};
}

Basis ViewAxes(const Basis& parent, double heading, double pitch, double bank) {
  // The rows of RotationZ(bank) x RotationX(pitch) x RotationY(heading) in
  // the parent's (right, up, forward) coordinates, as the module writes them.
  const double h = Radians(heading), p = Radians(pitch), b = Radians(bank);  // the rows' angles
  const double y[3][3] = {{std::cos(h), 0, -std::sin(h)}, {0, 1, 0}, {std::sin(h), 0, std::cos(h)}};
  const double x[3][3] = {{1, 0, 0}, {0, std::cos(p), std::sin(p)}, {0, -std::sin(p), std::cos(p)}};
  const double z[3][3] = {{std::cos(b), std::sin(b), 0}, {-std::sin(b), std::cos(b), 0}, {0, 0, 1}};
  double xy[3][3] = {}, rows[3][3] = {};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) xy[i][j] += x[i][k] * y[k][j];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) rows[i][j] += z[i][k] * xy[k][j];
  const auto world = [&](int row) {
    return parent.right * rows[row][0] + parent.up * rows[row][1] + parent.forward * rows[row][2];
  };
  return {world(0), world(1), world(2)};
}

Camera LookingAt(const Vec& from, const Vec& to, double zoom) {
  const Vec forward = Unit(to - from);
  Vec right = Cross(forward, {0, 1, 0});
  right = Dot(right, right) > 1e-12 ? Unit(right) : Vec{1, 0, 0};
  return {from, {right, Cross(right, forward), forward}, zoom};
}

double HalfSpan(double zoom) { return 0.5 / (1.2 * std::max(zoom, 0.01)); }

bool Project(const Camera& camera, const Vec& point, int width, int height, double& x, double& y) {
  const Vec d = point - camera.position;
  const double ahead = Dot(d, camera.axes.forward);
  if (ahead <= 1e-6) return false;
  const double longer = std::max(width, height);
  const double scale = longer / 2.0 / HalfSpan(camera.zoom);
  x = width / 2.0 + Dot(d, camera.axes.right) / ahead * scale;
  y = height / 2.0 - Dot(d, camera.axes.up) / ahead * scale;
  return true;
}

void ViewMatrix(const Camera& camera, double (&m)[16]) {
  const Basis& a = camera.axes;
  const Vec back = a.forward * -1.0;
  const Vec rows[3] = {a.right, a.up, back};
  for (int row = 0; row < 3; ++row) {
    m[0 * 4 + row] = rows[row].x;
    m[1 * 4 + row] = rows[row].y;
    m[2 * 4 + row] = rows[row].z;
    m[3 * 4 + row] = -Dot(rows[row], camera.position);
  }
  m[3] = m[7] = m[11] = 0.0;
  m[15] = 1.0;
}

void ProjectionMatrix(double zoom, int width, int height, double n, double f, double (&m)[16]) {
  const double longer = std::max(width, height);
  const double halfX = HalfSpan(zoom) * width / longer * n;
  const double halfY = HalfSpan(zoom) * height / longer * n;
  for (double& value : m) value = 0.0;
  m[0] = n / halfX;
  m[5] = n / halfY;
  m[10] = -(f + n) / (f - n);
  m[11] = -1.0;
  m[14] = -2.0 * f * n / (f - n);
}

}  // namespace render
