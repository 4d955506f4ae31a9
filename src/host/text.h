// Bounded text handling and the standard text-to-number conversions used for
// every text the module reads (registry, files, dialog fields).
#pragma once

#include <cstddef>
#include <cstdint>

namespace varolen {

// Text buffer sizes of the module.
inline constexpr std::size_t kPathCapacity = 260;
inline constexpr std::size_t kRegistryTextCapacity = 300;

// Decimal text to a signed 32-bit integer: leading white space and a sign
// allowed, stops at the first non-digit, no digits give 0. Out-of-range values
// saturate.
std::int32_t ParseInteger(const char* text);

// Text to a double: the standard conversion, except that text giving no finite
// number (including "nan" and "inf") gives 0.0.
double ParseDouble(const char* text);

// The standard conversion of text a user wrote, with a decimal comma read as
// a point ("0,5" is 0.5, as a pilot with a European keyboard types it);
// `end` as strtod sets it.
double ParseDecimal(const char* text, const char** end);

// Text a user typed to a double (a decimal comma reads as a point): an infinity ("1e999") is the largest
// number of its sign, so that it is clamped like any large number; text that gives no number ("nan" among
// them) gives 0.0.
double ParseTypedDouble(const char* text);

// Copies at most capacity - 1 characters and always terminates. Returns false
// when the text was cut.
bool CopyText(char* destination, std::size_t capacity, const char* source);

// snprintf that reports whether the whole text fitted.
bool FormatText(char* destination, std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Cuts the text at its last backslash; returns false (text unchanged) when it has none.
bool CutAtLastBackslash(char* text);

// Compares two texts ignoring the case of ASCII letters.
bool EqualIgnoringCase(const char* left, const char* right);

}  // namespace varolen
