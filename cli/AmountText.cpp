#include "cli/AmountText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const char* const UNITS[] = {"kB", "MB", "GB", "TB"};

// The unit for `bytes`: -1 for bytes, else an index into UNITS, with the divisor. A size
// that would show as 1000.0 of a unit takes the next one.
int UnitOf(uint64_t bytes, double& divisor) {
  divisor = 1;
  if (bytes < 1000) return -1;
  int unit = 0;
  divisor = 1000;
  while (unit + 1 < 4 && std::round(static_cast<double>(bytes) / divisor * 10) >= 10000) {
    ++unit;
    divisor *= 1000;
  }
  return unit;
}

}  // namespace

std::string SizeText(uint64_t bytes) {
  double divisor = 1;
  const int unit = UnitOf(bytes, divisor);
  if (unit < 0) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  char text[32];
  snprintf(text, sizeof text, "%.1f %s", static_cast<double>(bytes) / divisor, UNITS[unit]);
  return text;
}

std::string SizeOfText(uint64_t part, uint64_t whole) {
  double divisor = 1;
  const int unit = UnitOf(whole, divisor);
  if (unit < 0) return std::to_string(part) + " of " + std::to_string(whole) + " bytes";
  char text[64];
  snprintf(text, sizeof text, "%.1f of %.1f %s", static_cast<double>(part) / divisor,
           static_cast<double>(whole) / divisor, UNITS[unit]);
  return text;
}

std::string CountText(uint64_t count) {
  std::string digits = std::to_string(count);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string ClockText(double seconds) {
  if (!(seconds >= 0) || seconds > 359999) return "-:--";
  const long whole = static_cast<long>(std::ceil(seconds));
  char text[32];
  if (whole < 3600) {
    snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  } else {
    snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  }
  return text;
}

std::string AboutText(double seconds) {
  char text[48];
  if (seconds < 90) {
    const long whole = std::max(1L, std::lround(seconds));
    snprintf(text, sizeof text, "about %ld second%s", whole, whole == 1 ? "" : "s");
  } else if (seconds < 5400) {
    snprintf(text, sizeof text, "about %ld minutes", std::lround(seconds / 60));
  } else {
    // Tenths of an hour, without a ".0" that says nothing.
    const long tenths = std::lround(seconds / 360);
    if (tenths % 10 == 0) {
      snprintf(text, sizeof text, "about %ld hours", tenths / 10);
    } else {
      snprintf(text, sizeof text, "about %ld.%ld hours", tenths / 10, tenths % 10);
    }
  }
  return text;
}
