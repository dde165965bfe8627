// Blade-offset and over-cut filter between the encoder and the job file. It sees one
// formatted command at a time and writes its own pen-down points, one corner behind:
// at a sharp corner the knife is driven `offset` units past the corner and then
// `offset` units into the next segment, so the trailing tip swings round; at the end of
// a path the knife goes on for `overcut` units.
#pragma once

#include "Geometry.h"

class CBlockWriter;

// Takes one complete command (pen-up, pen-down, final pen-up or terminator) in the given
// dialect, with both distances in plotter units, and writes what it gives to `out`, the job
// file. With both distances 0 it writes the command unchanged and keeps no state.
void OffsetFilter(CBlockWriter& out, const char* command, int offset, int overcut, int dialect);

// The same as OffsetFilter with the pen-up (KIND_PEN_UP) or pen-down (KIND_PEN_DOWN)
// command to `point` formatted in `dialect`, for the encoder, which has the numbers at hand
// and need not format them only to have them read back.
void OffsetFilterPoint(CBlockWriter& out, int32_t kind, IntPoint point, int offset, int overcut, int dialect);

// True when the angle at `corner` between the segments to `previous` and to `next` is below
// 120 degrees; false when any of the three distances is 0.
bool IsSharpCorner(IntPoint corner, IntPoint previous, IntPoint next);
