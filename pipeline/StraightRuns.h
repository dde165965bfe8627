// Simplification of the point list before encoding: inner points of horizontal and
// vertical runs and exact repeats of the last written point are dropped.
#pragma once

#include "pipeline/JobModel.h"

// Replaces `points` by its simplified copy and releases the old list. A run on one
// vertical or horizontal line through the anchor collapses to its final point; a run ends
// where the next point leaves its line, where it turns back on itself (so no part of a cut
// that doubles back is lost), at a move, and before the placeholder that ends a list after
// a curve. Diagonal points are kept. The new list may end with an open placeholder.
// The copy reuses the nodes of the old list as they are passed, so it takes no more memory
// than the old list. Returns false when memory runs out: both lists are then released and
// `points` is null.
bool MergeStraightRuns(PointList& points);
