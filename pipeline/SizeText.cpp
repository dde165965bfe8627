#include "pipeline/SizeText.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

std::string MillimetreText(int64_t extent) {
  const float millimetres = static_cast<float>(static_cast<double>(extent) / 40.0);
  // A float has a 24-bit significand, so its value times 100 is exact in a double and
  // the tie test below sees the true decimal value, as a conforming printf does.
  const double hundredths = static_cast<double>(millimetres) * 100.0;
  double whole = std::floor(hundredths);
  const double fraction = hundredths - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  const int64_t value = static_cast<int64_t>(whole);
  const int64_t magnitude = value < 0 ? -value : value;
  char text[40];
  snprintf(text, sizeof text, "%s%" PRId64 ".%02d", value < 0 ? "-" : "", magnitude / 100,
           static_cast<int>(magnitude % 100));
  return text;
}
