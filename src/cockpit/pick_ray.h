// The ray from the eye through a pointer position in the view window, in the
// cockpit frame of the host's view record.
#pragma once

#include <cmath>
#include <cstdint>

#include "maths/geometry.h"

namespace varolen {

// `record` is a host view record copied into module memory. Width and height
// are the client size, x and y the pointer in client pixels. `ray` receives the
// origin and a unit direction.
void ComputePickRay(const std::uint8_t* record, double width, double height, double x, double y,
                    double (&ray)[6]);

// Whether the ray (origin, unit direction) meets the sphere; t0 and t1 are the
// entry and exit distances along it.
// Inline: the click-area search and the ground probe try thousands of spheres.
inline bool RaySphereHit(const double (&ray)[6], const Vec3& centre, double squaredRadius, double& t0,
                         double& t1) {
  const Vec3 toCentre = {centre.x - ray[0], centre.y - ray[1], centre.z - ray[2]};
  const double squaredDistance = Dot(toCentre, toCentre);
  const double along = Dot(toCentre, {ray[3], ray[4], ray[5]});
  // Outside (or on) the sphere and it lies behind: no hit.
  if (squaredDistance >= squaredRadius && along < 1e-10) return false;
  const double d = squaredRadius - squaredDistance + along * along;
  if (d <= 1e-10) return false;
  const double s = std::sqrt(d);
  t0 = along - s;
  t1 = along + s;
  return true;
}

}  // namespace varolen
