#include "settings/SpinStep.h"

#include <cstdio>
#include <cstdlib>

// The text buffer the step works in: 9 characters and the terminating zero.
static const size_t SPIN_BUFFER_SIZE = 10;

std::string SpinStep(const std::string& text, int steps) {
  const std::string read = text.substr(0, SPIN_BUFFER_SIZE - 1);
  const double value = strtod(read.c_str(), nullptr) + steps * SPIN_STEP_MM;
  if (!(value > 0)) return read;
  char written[64];
  const int length = snprintf(written, sizeof written, "%.1f", value);
  if (length < 0 || static_cast<size_t>(length) > SPIN_BUFFER_SIZE - 1) return read;
  return written;
}
