// Thinning of a polyline for a picture: points that lie so close to the straight line
// that replaces them that the eye cannot tell them from it are left out.
#pragma once

#include <vector>

#include "pipeline/PreviewLayout.h"

// The points of `line` to keep, in order: its first and last point, and every point where
// the line leaves a straight stretch. Each point left out lies within `tolerance` of the
// segment between the kept points around it, and a stretch never turns back on itself, so
// a cut that doubles back keeps its far end. A tolerance of 0 or less keeps every point.
std::vector<PixelPoint> MergeCollinear(const std::vector<PixelPoint>& line, double tolerance);
