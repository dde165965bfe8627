// Layout of the job preview: the pixel moves and lines that draw the point list scaled to
// fit the preview control and centred, y pointing up. The dialog replays them on its
// device context; the command-line front end writes them as SVG.
#pragma once

#include <vector>

#include "JobModel.h"

struct PreviewStroke {
  bool line;  // false: move the current position there; true: draw a line to it
  int x;
  int y;
};

// Strokes for a client area of width x height pixels, of which width - 13 by height - 13
// are used. Empty for a null point list. A job with no extent in one direction is fitted
// by the other; with no extent either way it is drawn unscaled.
std::vector<PreviewStroke> LayoutPreview(PointList points, const JobBounds& bounds, int width, int height);
