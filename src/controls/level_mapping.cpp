#include "controls/level_mapping.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

float PercentToDecibels(int percent, float minimum, float maximum) {
  if (percent == 0) return minimum;
  // The logarithm of a negative ratio is not a number. Its sign bit is the C
  // runtime's choice (glibc and msvcrt differ), so it is made here, once.
  if (percent < 0) return std::numeric_limits<float>::quiet_NaN();
  const float ratio = static_cast<float>(percent) / 100.0f;
  // log10 is taken as ln(x) / ln(10) in double precision, then narrowed once.
  const double decibels = std::log(static_cast<double>(ratio)) / std::log(10.0) * 20.0;
  const float narrowed = static_cast<float>(decibels);
  return narrowed + maximum;
}

int DecibelsToPercent(float level, float maximum) {
  const float exponent = (level - maximum) / 20.0f;
  const double percent = std::pow(10.0, static_cast<double>(exponent)) * 100.0;
  // Truncation toward zero; what has no 32-bit value is pinned rather than undefined.
  if (std::isnan(percent)) return 0;
  if (percent >= 2147483648.0) return INT_MAX;
  if (percent <= -2147483649.0) return INT_MIN;
  return static_cast<int>(percent);
}

float NearestFloat(double value) {
  if (std::fabs(value) > FLT_MAX) {
    // Halfway between FLT_MAX and 2^128 rounds away, to infinity.
    const double halfway = 0x1.ffffffp127;
    const float magnitude = std::fabs(value) < halfway ? FLT_MAX : HUGE_VALF;
    return std::signbit(value) ? -magnitude : magnitude;
  }
  return static_cast<float>(value);
}

int TruncateToInt(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return INT_MAX;
  if (value <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(value);
}
