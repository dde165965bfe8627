// The order in which a job's paths are cut and what the cut adds to them, applied to the
// point list after the job's geometry (mirror, rotation, origin) and before the encoder:
//
//   inside first     every closed path that lies inside another is cut before it, at any
//                    depth, so the counter of an "o" is cut while its outline still holds
//                    the material; an open path is cut just before the innermost closed
//                    path whose outline holds its first point (on it or inside), and one
//                    that starts in none goes with the closed path nearest to it in the
//                    drawing's order
//   shortest travel  within that, the path whose start is nearest the pen comes next;
//                    every path keeps its own start and direction
//   weed border      a rectangle `weedMargin` units outside the job's bounds, cut last
//   passes           every path cut 1 to 5 times, each pass straight after the one before
//                    with the pen down (an open path goes back along itself)
//
// A path is a move and the lines after it. It is closed when its last point lies within
// CLOSED_GAP units of its first (a flattened curve may end a unit short of where it began).
// A closed path A lies inside a closed path B when A's bounds lie within B's and the first
// point of A that is not on B's outline lies inside B's polygon (even-odd rule). A path is
// cut before the nearest closed path it lies inside (the one of the smallest bounds), and
// so before every path around that one; where outlines cross or a path is drawn twice, it
// can lie inside paths that do not hold the nearest, and it is cut before those too, up to
// the first one (nearest first) that holds the nearest.
#pragma once

#include <cstdlib>

#include "pipeline/Geometry.h"
#include "pipeline/JobModel.h"
#include "pipeline/JobResult.h"

const int MIN_PASSES = 1;
const int MAX_PASSES = 5;
// The weed border's margin in millimetres: close enough to save material, never on the job.
const double MIN_WEED_MARGIN_MM = 0.5;
const double MAX_WEED_MARGIN_MM = 50.0;
// How far, per axis, a closed path's last point may lie from its first.
const int32_t CLOSED_GAP = 2;

// Whether a path of `count` moves and lines, that starts with a move at `first` and ends at
// `last`, is closed.
inline bool IsClosedPath(IntPoint first, IntPoint last, int64_t count) {
  return count >= 3 && llabs(static_cast<int64_t>(last.x) - first.x) <= CLOSED_GAP &&
         llabs(static_cast<int64_t>(last.y) - first.y) <= CLOSED_GAP;
}

struct CutOrder {
  bool insideFirst = false;
  bool shortestTravel = false;
  int32_t weedMargin = 0;  // plotter units; 0 for no weed border
  int passes = 1;          // MIN_PASSES to MAX_PASSES

  // True when the cut is the drawing's, unchanged: the default.
  bool IsOff() const { return !insideFirst && !shortestTravel && weedMargin <= 0 && passes <= 1; }
};

// The weed border's margin in plotter units for a margin in millimetres, brought into
// MIN_WEED_MARGIN_MM to MAX_WEED_MARGIN_MM; 0 (no border) when `ticked` is false.
int32_t WeedMarginUnits(bool ticked, double millimetres);

// Builds in `out` the job `points` (whose bounds are `bounds`) as `order` cuts it, and its
// bounds, moved to the origin, in `outBounds`; `points` is left as it was. The pen starts
// at the job file's origin, the job's corner (maxX, minY). A move that cuts nothing is
// left out when the order changes. Returns JOB_DONE; JOB_TOO_LARGE when the passes and the
// border would take more than MAX_JOB_POINTS points; JOB_NO_MEMORY when memory runs out.
// On failure `out` is null. When `steps` is given it receives the work of finding which
// paths lie inside which (edges walked, points looked up, boxes looked at), so that tests
// can hold it to a multiple of the job's points. `moved`, when given, receives the
// translation that took the ordered points to the origin.
JobResult OrderCuts(PointList points, const JobBounds& bounds, const CutOrder& order, PointList& out,
                    JobBounds& outBounds, uint64_t* steps = nullptr, IntPoint* moved = nullptr);

// The pen-up travel of `points` in plotter units: from `from` to the first move, between
// each line and the next move, and from the last point to `park`.
double PenUpTravel(PointList points, IntPoint from, IntPoint park);
