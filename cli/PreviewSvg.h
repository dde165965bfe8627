// The preview as an SVG picture of the preview control's client area.
#pragma once

#include <string>
#include <vector>

#include "pipeline/PreviewLayout.h"

// A white width x height picture with one red path per run of strokes: each path starts
// at a move ("M X Y") and goes on with its lines ("L X Y"). Lines before any move start
// from (0, 0), where a device context's current position starts. The strokes of the
// registration marks' crosses, `marks`, follow in blue.
std::string PreviewSvg(const std::vector<PreviewStroke>& strokes, int width, int height,
                       const std::vector<PreviewStroke>& marks = {});

// The paths of PreviewSvg alone, in `colour`. With a tolerance above 0, each path leaves
// out the points within that many pixels of the straight line that replaces them
// (MergeCollinear).
std::string PreviewRunPaths(const std::vector<PreviewStroke>& strokes, double tolerance, const char* colour = "red");

// The far edge of media `mediaWidth` units wide (MediaEdgeX) on the picture of a job whose
// bounds are `bounds` laid out by `frame`, as a dashed path down the whole `height`. ""
// when `mediaWidth` is 0 (no media width).
std::string MediaEdgeSvg(const CPreviewFrame& frame, const JobBounds& bounds, int32_t mediaWidth, int height);

// A length or place in pixels as SVG text: rounded to two decimals, without trailing
// zeros ("151", "2.5", "-0.25"); held within 10^12 pixels either way, and "0" for a value
// that is not a number.
std::string PixelText(double value);

// "X Y" of a point, in PixelText.
std::string PointText(PixelPoint p);
