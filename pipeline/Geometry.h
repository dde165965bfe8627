// Geometry of a job: bounds, affine transforms and curve flattening. All arithmetic is in
// double precision; every conversion back to a coordinate truncates toward zero.
#pragma once

#include <cmath>

#include "pipeline/JobModel.h"
#include "pipeline/JobResult.h"

// Truncates toward zero into the int32 range; values beyond it saturate (NaN gives 0).
// Inline, as the preview and the transforms call it for every point of a large job.
inline int32_t TruncToCoord(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// An integer clamped to the int32 range: what TruncToCoord gives for it where a double
// holds it exactly (below 2^53 in magnitude, as any sum or difference of a few int32 values).
inline int32_t ClampToCoord(int64_t value) {
  return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}

// Bounds of the move and line points. Leading placeholders are passed over; a list without
// any move or line gives all-zero bounds. Nothing happens when `points` is null.
void ComputeBounds(PointList points, JobBounds& bounds);

// Applies the transform to every move and line point.
void TransformPoints(PointList points, const JobTransform& transform);
// The same, and `bounds` set to the transformed points' as ComputeBounds would, in one walk
// of the list (a large job's list is walked once per step of a mirror or rotation).
void TransformPoints(PointList points, const JobTransform& transform, JobBounds& bounds);

// Mirrors the points about the vertical axis and moves them to the origin: the same points
// and bounds as TransformPoints with {-1, 0, 0, 1} followed by TransformPoints with the
// OriginTranslation of the mirrored bounds, exact in integers and mostly in one walk.
// `bounds` holds the points' bounds on entry (their maxX is what is used) and theirs after.
void MirrorToOrigin(PointList points, JobBounds& bounds);

// Applies the transform to the pair of every pen-up and pen-down command and to each of
// the three pairs of every curve; placeholders are skipped.
void TransformCommands(const JobTransform& transform, CommandList commands);

// Point on the cubic curve at parameter t, in the power form with integer coefficients.
IntPoint BezierPoint(IntPoint start, IntPoint control1, IntPoint control2, IntPoint end, double t);

// At most how many point nodes FlattenCommands builds for the commands added so far, one
// command at a time, found from the commands alone (a curve of n segments gives n + 1
// points, a few more past 10,000 segments, where the accumulated parameter overshoots by
// up to 1/10,000). The reader counts as it reads, so that a job too large is refused
// before its commands fill memory.
class CPointCount {
 public:
  // Counts the points one more command gives.
  void Add(const PathCommand& command);
  // The points counted so far, the list's first node included.
  int64_t Points() const { return m_nPoints; }

 private:
  int64_t m_nPoints = 1;  // the first node
  IntPoint m_at = {0, 0};
};

// At most how many point nodes FlattenCommands builds for `commands` (CPointCount over
// the whole list).
int64_t CountFlattenedPoints(CommandList commands);

// Replaces every curve by trunc(sqrt(chord)) straight segments into a new list in `out`.
// A null command list leaves `out` untouched; the previous content of `out` is not
// released. A curve before any move starts at (0, 0). Returns JOB_DONE, JOB_TOO_LARGE
// when the job would need more than MAX_JOB_POINTS points (counted before anything is
// allocated), or JOB_NO_MEMORY when an allocation fails; on failure `out` is null.
JobResult FlattenCommands(CommandList commands, PointList& out);

// Flattens the commands again into the nodes of `points` instead of new ones, for a list
// that FlattenCommands built from the same commands and that has only been moved, mirrored
// or turned since: the same points as a new list, without releasing and allocating a node
// each. False when the list has not exactly as many nodes as the commands flatten to (its
// points were simplified since); its coordinates are then of no use.
bool FlattenCommandsInto(CommandList commands, PointList points);

// The translation that moves the given bounds' corner (minX, minY) to the origin.
JobTransform OriginTranslation(const JobBounds& bounds);
