// Geometry of a job: bounds, affine transforms and curve flattening. All arithmetic is in
// double precision; every conversion back to a coordinate truncates toward zero.
#pragma once

#include "JobModel.h"

struct IntPoint {
  int32_t x;
  int32_t y;
};

// Truncates toward zero into the int32 range; values beyond it saturate (NaN gives 0).
int32_t TruncToCoord(double value);

// Bounds of the move and line points. Leading placeholders are passed over; a list without
// any move or line gives all-zero bounds. Nothing happens when `points` is null.
void ComputeBounds(PointList points, JobBounds& bounds);

// Applies the transform to every move and line point.
void TransformPoints(PointList points, const JobTransform& transform);

// Applies the transform to the pair of every pen-up and pen-down command and to each of
// the three pairs of every curve; placeholders are skipped.
void TransformCommands(const JobTransform& transform, CommandList commands);

// Point on the cubic curve at parameter t, in the power form with integer coefficients.
IntPoint BezierPoint(IntPoint start, IntPoint control1, IntPoint control2, IntPoint end, double t);

// Replaces every curve by trunc(sqrt(chord)) straight segments into a new list in `out`.
// A null command list leaves `out` untouched; the previous content of `out` is not
// released. A curve before any move starts at (0, 0).
void FlattenCommands(CommandList commands, PointList& out);

// The translation that moves the given bounds' corner (minX, minY) to the origin.
JobTransform OriginTranslation(const JobBounds& bounds);
