// One step of the blade-offset and over-cut spin buttons on their edit's text.
#pragma once

#include <string>

// Tenths of a millimetre per spin step.
const double SPIN_STEP_MM = 0.1;

// The edit text after `steps` spin steps (+1 up, -1 down) on `text`: the leading decimal
// number of its first 9 characters (strtod rules, none gives 0.0) plus steps * 0.1,
// written with "%.1f" when above 0; otherwise those 9 characters unchanged. A result
// whose "%.1f" text would be longer than 9 characters (ten million or more) also leaves
// them unchanged, as the edit's 10-byte buffer cannot hold it.
// "0.38" up gives "0.5", down "0.3"; "0.1" down stays "0.1"; "abc" up gives "0.1".
std::string SpinStep(const std::string& text, int steps);
