// Sizes and times as a person reads them on the command line: "38.4 kB", "16.1 of
// 38.4 kB", "0:06", "about 5 minutes". Sizes count in thousands (1 kB = 1000 bytes), as
// a serial line's speed does.
#pragma once

#include <cstdint>
#include <string>

// A count with its thousands set apart by commas: "41,200", "7".
std::string CountText(uint64_t count);

// "512 bytes" below 1000 bytes, else the size with one decimal in kB, MB or GB: "1.2 MB".
std::string SizeText(uint64_t bytes);

// Part of a size in the unit of the whole: "16.1 of 38.4 kB", "512 of 900 bytes".
std::string SizeOfText(uint64_t part, uint64_t whole);

// A time left as a clock, whole seconds rounded up: "0:06", "12:00", "1:02:03"; "-:--" when
// not known (negative) or beyond 99:59:59.
std::string ClockText(double seconds);

// A time ahead in round figures: "about 40 seconds" below a minute and a half, "about 5
// minutes" below an hour and a half, else "about 2.5 hours".
std::string AboutText(double seconds);
