// Conversions and angle wrapping that stay defined for any input: host values
// are used as they come, and a NaN, an infinity or an absurd value must not
// hang the frame or invoke undefined behaviour.
#pragma once

#include <cstdint>

namespace varolen {

inline constexpr double kFractionScale = 4294967295.0;  // 2^32 - 1

// Truncates toward zero into `result`; false (result untouched) when the value
// is not finite or lies outside the 64-bit range.
bool TruncateToInt64(double value, std::int64_t& result);

// A host word of the value truncated toward zero: its low bits, as the word
// holds them. False, the word untouched, when the value cannot be converted:
// every host word the module writes is then left as it was rather than
// written with a made-up value.
template <typename Word>
bool EncodeTruncated(double value, Word& word) {
  std::int64_t whole = 0;
  if (!TruncateToInt64(value, whole)) return false;
  word = static_cast<Word>(whole);
  return true;
}

// The host's 32.32 fixed point: the whole word is the low 32 bits of the
// value's floor (so that negative values sit where they are meant to), the
// fraction word the part above it times 2^32 - 1. False, both words untouched,
// when the value cannot be converted: every host word the module writes is
// then left as it was rather than written with a made-up value.
bool EncodeFixedPoint(double value, std::uint32_t& fraction, std::uint32_t& whole);

// A turn as the host's 32-bit angle, degrees / 360 x (2^32 - 1), truncated;
// false, the word untouched, when it cannot be converted.
bool EncodeTurnWord(double degrees, std::uint32_t& word);

// Into [0, 360]: "while x > 360 subtract 360, while x < 0 add 360", in either
// order, without the loops: the same result for every finite value, the value
// itself when it is not finite.
double NormalizeDegrees(double x);

// "While x > 180 subtract 360; while x < -180 add 360", likewise.
double WrapLongitude(double x);

}  // namespace varolen
