// The click areas of the three-dimensional cockpit (the model's "EVNT" list),
// found along the pick ray for the pointer's shape.
#pragma once

#include <cstdint>

#include "host/host_layout.h"

namespace varolen {

// 0 when no clickable area of the list lies on the pick ray (origin, unit
// direction), else the area's pointer-shape code, or 1 when it has none.
std::uint32_t FindClickArea(const double (&ray)[6], HostAddress list);

// The pointer for an area code: the arrow for 0, the hand for codes without a shape.
void SetPointerShape(std::uint32_t areaCode);

}  // namespace varolen
