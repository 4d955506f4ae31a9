// The ray from the eye through a pointer position in the view window, in the
// cockpit frame of the host's view record.
#pragma once

#include <cstdint>

#include "camera/geometry.h"

namespace varolen {

// `record` is a host view record copied into module memory. Width and height
// are the client size, x and y the pointer in client pixels. `ray` receives the
// origin and a unit direction.
void ComputePickRay(const std::uint8_t* record, double width, double height, double x, double y,
                    double (&ray)[6]);

// Whether the ray (origin, unit direction) meets the sphere; t0 and t1 are the
// entry and exit distances along it.
bool RaySphereHit(const double (&ray)[6], const Vec3& centre, double squaredRadius, double& t0, double& t1);

}  // namespace varolen
