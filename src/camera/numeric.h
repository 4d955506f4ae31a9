// Conversions and angle wrapping that stay defined for any input: host values
// are used as they come, and a NaN, an infinity or an absurd value must not
// hang the frame or invoke undefined behaviour.
#pragma once

#include <cstdint>

namespace varolen {

// Truncates toward zero into `result`; false (result untouched) when the value
// is not finite or lies outside the 64-bit range.
bool TruncateToInt64(double value, std::int64_t& result);

// "While x > 360 subtract 360; then while x < 0 add 360", without the loops:
// the same result for every finite value, the value itself when it is not finite.
double WrapDegreesDownThenUp(double x);
// "While x < 0 add 360; then while x > 360 subtract 360", likewise.
double WrapDegreesUpThenDown(double x);

// "While x > 180 subtract 360; while x < -180 add 360", likewise.
double WrapLongitude(double x);

}  // namespace varolen
