// The progress line of a send on a terminal:
//
//   [################                        ]  42%  16.1 of 38.4 kB  0:06 left
//
// It fits the terminal's width. The last column stays free, so that the line never wraps
// and a carriage return brings the cursor back to its start. Where it is narrow, the bar
// shrinks (to no fewer than 10 marks), then the sizes go, then the bar, then the time left.
#pragma once

#include <cstdint>
#include <string>

// The line for a terminal `columns` wide after `sent` bytes of `total`, with `secondsLeft`
// to go (negative while not known, shown as "-:--"). Never longer than columns - 1.
std::string ProgressLine(int columns, uint64_t sent, uint64_t total, double secondsLeft);

// The line in the progress line's place while the cutter has taken nothing for `seconds`:
// "the cutter has taken nothing for 10 s: is it paused or off-line? Ctrl-C stops", cut to
// columns - 1.
std::string StalledLine(int columns, int seconds);
