// One writer of a host view record's eye, orientation and zoom, for the
// virtual cockpit's and the spot view's records and the walking pilot's alike.
// Every word is truncated as the host keeps it; a value that cannot be
// encoded (no number, out of range) leaves the words there as they were.
#pragma once

#include <cstdint>

#include "maths/geometry.h"
#include "maths/view_math.h"

namespace varolen {

// A position in degrees and metres: latitude, longitude, altitude.
struct DegreePosition {
  double latitude;
  double longitude;
  double altitude;
};

// A 16-bit word, and a 32-bit value (storing only its low 16 bits, sign
// extended, would lose spot distances beyond 32767/256).
void SetViewWord(std::uint8_t* record, std::uint32_t offset, double value);
void SetViewLong(std::uint8_t* record, std::uint32_t offset, double value);

// A virtual-cockpit record's base eye, in its words (eye units x 256).
Vec3 BaseEye(const std::uint8_t* record);
// The eye at `eye` (eye units x 256), written as its offset from the base eye
// so that the host's eye is the module's.
void SetViewEye(std::uint8_t* record, const Vec3& eye);
// The view's rotation: the matrix's 3 x 3, the direction step cleared.
void SetViewRotation(std::uint8_t* record, const Matrix4& rotation);
// A zoom word at `offset` (the cockpit's or the outside views'), 64 to 1.0.
void SetViewZoom(std::uint8_t* record, std::uint32_t offset, double zoom);

// The host's position encoding: six 32-bit words of 32.32 fixed point for
// latitude in metres, longitude in 2^32 units per turn and altitude in metres.
// A coordinate that cannot be encoded leaves its two words as they were.
void EncodeHostPosition(const DegreePosition& position, std::uint32_t (&words)[6]);
// Pitch, bank, heading, each degrees / 360 x (2^32 - 1); likewise.
void EncodeHostOrientation(double pitch, double bank, double heading, std::uint32_t (&words)[3]);
// The eye's world position into both position fields of a record.
void SetViewPosition(std::uint8_t* record, const DegreePosition& eye);

}  // namespace varolen
