#include "maths/numeric.h"

#include <cmath>

namespace varolen {

namespace {

constexpr double kTurn = 360.0;

// Subtracting 360 until x <= 360 leaves x - 360k in (0, 360]; every step of the
// loop is exact, as is fmod, so both give the same number.
double DownInto(double x) {
  if (!(x > kTurn)) return x;
  const double rest = std::fmod(x, kTurn);
  return rest == 0.0 ? kTurn : rest;
}

// Adding 360 until x >= 0: every step but the last is exact, and the last is
// the same addition as here.
double UpInto(double x) {
  if (!(x < 0.0)) return x;
  const double rest = std::fmod(x, kTurn);  // in (-360, 0]
  return rest < 0.0 ? rest + kTurn : rest;
}

}  // namespace

bool TruncateToInt64(double value, std::int64_t& result) {
  // 2^63 is exactly representable; every double below it truncates into range.
  if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0) return false;
  result = static_cast<std::int64_t>(value);
  return true;
}

bool EncodeFixedPoint(double value, std::uint32_t& fraction, std::uint32_t& whole) {
  std::int64_t integer = 0;
  std::int64_t part = 0;
  const double floor = std::floor(value);
  if (!TruncateToInt64(floor, integer) || !TruncateToInt64((value - floor) * kFractionScale, part))
    return false;
  whole = static_cast<std::uint32_t>(static_cast<std::uint64_t>(integer));
  fraction = static_cast<std::uint32_t>(part);
  return true;
}

bool EncodeTurnWord(double degrees, std::uint32_t& word) {
  return EncodeTruncated(degrees / 360.0 * kFractionScale, word);
}

// Either order gives the same: DownInto leaves (0, 360] alone and UpInto
// leaves [0, 360) alone, and UpInto yields at most 360, which DownInto keeps.
double NormalizeDegrees(double x) {
  if (!std::isfinite(x)) return x;
  return UpInto(DownInto(x));
}

double WrapLongitude(double x) {
  if (!std::isfinite(x)) return x;
  if (x > 180.0) {
    const double rest = std::fmod(x - 180.0, kTurn);  // [0, 360)
    return rest == 0.0 ? 180.0 : rest - 180.0;
  }
  if (x < -180.0) {
    const double rest = std::fmod(x + 180.0, kTurn);  // (-360, 0]
    return rest == 0.0 ? -180.0 : rest + 180.0;
  }
  return x;
}

}  // namespace varolen
