// The ground probe: the highest collision surface under a point, found by a
// vertical ray through the geometry ("BLCK" sections) of the host's loaded objects.
#pragma once

#include "host/host_layout.h"
#include "maths/geometry.h"

namespace varolen {

inline constexpr double kProbeHeight = 100000.0;  // metres above the probe's origin
inline constexpr double kNothingFound = 1e10;

struct GroundProbe {
  double latitude;   // degrees
  double longitude;  // degrees
  double altitude;   // metres; 0: the origin lies on the sphere
  double ray[6];     // origin and unit direction: from kProbeHeight straight down
  double nearest;    // distance along the ray to the nearest surface, kNothingFound for none
};

// A probe from 100 km above the point, straight down.
GroundProbe ProbeAt(double latitude, double longitude);

// Empties the probe's store of placements met lately, as a freshly loaded module has it.
void ForgetKnownPlacements();

// Searches every loaded object; 1 after a search, 0 without a readable object list.
int ProbeGround(GroundProbe& probe);

// Walks a geometry list from `base`, keeping the probe's nearest hit.
void WalkObjectGeometry(HostAddress list, const Vec3& base, GroundProbe& probe);

// Point given as (latitude, longitude, distance from the earth's centre) as an
// earth-centred vector, and a point's offset from a reference in the
// reference's local frame (x east, y up, z north), metres.
Vec3 GeoToCartesian(const Vec3& point);
Vec3 GeoOffset(const Vec3& point, const Vec3& reference);

// Distance along the ray to the triangle (three vertices and the face normal,
// twelve floats) placed at `offset`, or kNothingFound.
double RayTriangleHit(const float (&triangle)[12], const double (&ray)[6], const Vec3& offset);

}  // namespace varolen
