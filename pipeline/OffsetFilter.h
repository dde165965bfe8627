// Blade-offset and over-cut filter between the encoder and the job file. It sees one
// formatted command at a time and writes its own pen-down points, one corner behind:
// at a sharp corner the knife is driven `offset` units past the corner and then
// `offset` units into the next segment, so the trailing tip swings round; at the end of
// a path the knife goes on for `overcut` units.
#pragma once

#include "pipeline/Geometry.h"

class CBlockWriter;

// What the filter keeps about the current path between commands. One belongs to each job
// file being written and starts zeroed, so that a job never depends on how the one before
// it ended and two jobs can be written at once.
struct OffsetFilterState {
  bool pathOpen = false;      // a pen-down has started a path that no pen-up has ended
  bool startPending = false;  // the path's start point is still to be written
  IntPoint pathStart = {0, 0};
  IntPoint firstEnd = {0, 0};    // the end of the path's first segment
  IntPoint before = {0, 0};      // the point before the corner held back
  IntPoint corner = {0, 0};      // the corner held back until the next segment is known
  IntPoint last = {0, 0};        // the last pen-down target
  IntPoint beforeLast = {0, 0};  // ... and the point before it
};

// Takes one complete command (pen-up, pen-down, final pen-up or terminator) in the given
// dialect, with both distances in plotter units, and writes what it gives to `out`, the job
// file, keeping the path in `state`. With both distances 0 it writes the command unchanged
// and leaves `state` alone.
void OffsetFilter(OffsetFilterState& state, CBlockWriter& out, const char* command, int offset, int overcut,
                  int dialect);

// The same as OffsetFilter with the pen-up (KIND_PEN_UP) or pen-down (KIND_PEN_DOWN)
// command to `point` formatted in `dialect`, for the encoder, which has the numbers at hand
// and need not format them only to have them read back.
void OffsetFilterPoint(OffsetFilterState& state, CBlockWriter& out, int32_t kind, IntPoint point, int offset,
                       int overcut, int dialect);

// True when the angle at `corner` between the segments to `previous` and to `next` is below
// 120 degrees; false when any of the three distances is 0.
bool IsSharpCorner(IntPoint corner, IntPoint previous, IntPoint next);
