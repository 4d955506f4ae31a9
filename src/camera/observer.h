// The host's outside observer: where the outside views look from.
#pragma once

#include "maths/geometry.h"

namespace varolen {

// Writes the host's outside observer position; nothing before start-up, and no
// word into host memory that is not writable or from a value that is not a number.
void SetObserverPosition(const GeoPosition& position);

}  // namespace varolen
