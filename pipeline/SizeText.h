// The job size as the dialog's two size fields show it.
#pragma once

#include <cstdint>
#include <string>

// An extent in plotter units as millimetres: divided by 40.0, rounded to single
// precision, then to two decimals with ties to even ("%.2f" of a conforming C library),
// the same on every platform. 4003 gives "100.07", 5 gives "0.12".
std::string MillimetreText(int64_t extent);
