// The detailed preview: the dialog's picture with what it leaves out drawn over it, for a
// user who wants to see what the cutter will do before sending.
#pragma once

#include <string>

#include "pipeline/JobFileWriter.h"
#include "pipeline/JobResult.h"
#include "pipeline/PlotJob.h"

// Above how many points (the dialog's strokes and the tool path's moves together) the
// detailed picture is thinned: beyond that its SVG runs to many megabytes.
const size_t LARGE_PREVIEW_POINTS = 500000;
// How close to a straight line a point must lie, in pixels, to be left out of a thinned
// picture: a quarter of a pixel, below what the eye sees.
const double THINNING_TOLERANCE = 0.25;

// Whether the detailed picture leaves out the points the eye cannot see.
enum Thinning {
  THIN_NEVER,
  THIN_ALWAYS,      // at THINNING_TOLERANCE
  THIN_WHEN_LARGE,  // at THINNING_TOLERANCE above LARGE_PREVIEW_POINTS
};

// The detailed picture of a loaded job for a control of width x height, with the tool
// path that a driver writing `format` (its dialect, the pair swapped or not) is sent under
// `options`. On a canvas 40 pixels wider and 44 higher: the dialog's red paths at the same
// pixels (PreviewRunPaths) with the registration marks' blue crosses, and over them
// - "travel": the pen-up moves, thin grey dashes;
// - "tool-path": the cuts as sent, thin blue lines (blade offset and over-cut included);
// - "starts": a green dot where each cut starts, and "directions": a green arrow from it
//   along its first step;
// - "cutter": the cutter's origin (a circle, "origin"), an arrow along the roll's feed
//   ("feed") and a dimension line along the side of the job that runs across the roll;
// - below the picture, the job's size and the scale ("size"), and a legend in colours.
// The cuts, travel and marks are placed finer than whole pixels, half a pixel up and left
// of CPreviewFrame::Exact, where the dialog's whole pixels fall on average; thinning applies to the red paths and the
// cuts alike. The job is encoded on the way (TraceToolPath) and keeps that form. JOB_DONE, or why the job could not be
// encoded.
JobResult DetailedPreviewOfJob(CPlotJob& job, const JobFormat& format, const OffsetOptions& options, int width,
                               int height, Thinning thinning, std::string& svg);
