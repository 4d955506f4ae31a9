// Where the host's views look from, worked out from what the module wrote into
// the host's memory (as the trace decodes it) and from the scenario: the
// outside observer, the virtual cockpit's eye and the walking pilot's eye.
// No OpenGL here, so that the projection can be checked on its own.
#pragma once

namespace render {

// World metres in a plane tangent to the earth at the scenario's start:
// x east, y up, z south (north is -z, as OpenGL cameras look down -z).
struct Vec {
  double x = 0, y = 0, z = 0;
};
Vec operator+(const Vec& a, const Vec& b);
Vec operator-(const Vec& a, const Vec& b);
Vec operator*(const Vec& a, double s);
double Dot(const Vec& a, const Vec& b);
Vec Cross(const Vec& a, const Vec& b);
Vec Unit(const Vec& a);

// Three axes: right, up, forward.
struct Basis {
  Vec right, up, forward;
};

// The plane's origin and its metres per degree.
struct Reference {
  double latitude = 0, longitude = 0;  // degrees
  Vec Local(double latitude, double longitude, double altitudeMetres) const;
};

// The aircraft's axes for the host's heading (clockwise from north), pitch
// (nose down positive) and bank (left wing down positive), degrees, as the
// host counts them (docs/host-facts.md).
Basis AircraftAxes(double heading, double pitch, double bank);

// A view record's axes, as its rows lie in the frame `parent`: the trace's
// heading (right), pitch (down) and bank (the left side down) of the rows.
Basis ViewAxes(const Basis& parent, double heading, double pitch, double bank);

// The world's own axes, the parent of the walking pilot's view.
Basis WorldAxes();

struct Camera {
  Vec position;
  Basis axes;
  double zoom = 1.0;  // the host's: 1 spans 45.2 degrees across the longer side
};

// The camera looking from `from` at `to`, level.
Camera LookingAt(const Vec& from, const Vec& to, double zoom);

// The pixel of a world point in a picture of `width` x `height` (x right, y
// down); false when it lies behind the camera.
bool Project(const Camera& camera, const Vec& point, int width, int height, double& x, double& y);

// Half the tangent of the horizontal field of view at this zoom, for the
// longer side of the picture: 0.5 / (1.2 x zoom), as the host's image plane.
double HalfSpan(double zoom);

// Column-major OpenGL matrices for the camera.
void ViewMatrix(const Camera& camera, double (&matrix)[16]);
void ProjectionMatrix(double zoom, int width, int height, double nearest, double farthest,
                      double (&matrix)[16]);

}  // namespace render
