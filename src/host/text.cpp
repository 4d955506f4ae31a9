#include "host/text.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace varolen {

std::int32_t ParseInteger(const char* text) {
  const long long value = std::strtoll(text, nullptr, 10);
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

double ParseDouble(const char* text) {
  const double value = std::strtod(text, nullptr);
  return std::isfinite(value) ? value : 0.0;
}

double ParseDecimal(const char* text, const char** end) {
  const char* comma = std::strchr(text, ',');
  char* stop = nullptr;
  if (comma == nullptr) {
    const double value = std::strtod(text, &stop);
    *end = stop;
    return value;
  }
  // A number is short: the text up to its first comma and a little beyond.
  char copy[64];
  CopyText(copy, sizeof copy, text);
  const std::size_t at = static_cast<std::size_t>(comma - text);
  if (at < sizeof copy - 1) copy[at] = '.';
  const double value = std::strtod(copy, &stop);
  *end = text + (stop - copy);
  return value;
}

double ParseTypedDouble(const char* text) {
  const char* end = nullptr;
  const double value = ParseDecimal(text, &end);
  if (std::isnan(value)) return 0.0;
  if (std::isinf(value)) return value > 0.0 ? DBL_MAX : -DBL_MAX;
  return value;
}

bool CopyText(char* destination, std::size_t capacity, const char* source) {
  if (capacity == 0) return false;
  const std::size_t length = std::strlen(source);
  const std::size_t kept = length < capacity ? length : capacity - 1;
  std::memmove(destination, source, kept);
  destination[kept] = '\0';
  return kept == length;
}

bool FormatText(char* destination, std::size_t capacity, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(destination, capacity, format, arguments);
  va_end(arguments);
  return length >= 0 && static_cast<std::size_t>(length) < capacity;
}

bool CutAtLastBackslash(char* text) {
  char* backslash = std::strrchr(text, '\\');
  if (backslash == nullptr) return false;
  *backslash = '\0';
  return true;
}

bool EqualIgnoringCase(const char* left, const char* right) {
  for (;; ++left, ++right) {
    char a = *left;
    char b = *right;
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
    if (a == '\0') return true;
  }
}

}  // namespace varolen
