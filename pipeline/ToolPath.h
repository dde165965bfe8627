// The path the knife is actually sent along: the pen moves of the job file, read back
// from the bytes the encoder writes (blade offset, over-cut and the merging of straight
// runs included), in the job's own coordinates, so that a picture can lay them over it.
#pragma once

#include <vector>

#include "pipeline/Geometry.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/JobResult.h"
#include "pipeline/PlotJob.h"

struct ToolMove {
  bool cut;     // false: pen-up move there; true: cut to it
  IntPoint to;  // in the coordinates the job had before it was encoded
};

// Where the cutter's axes lie on the job, in the job's coordinates: the cutter's origin
// and the unit steps in which its first and its second coordinate grow. The first runs
// along the roll (the direction the material feeds), the second across it.
struct CutterAxes {
  IntPoint origin;
  IntPoint feed;
  IntPoint across;
};

struct ToolPath {
  std::vector<ToolMove> moves;
  CutterAxes axes;
  IntPoint extent;  // the job's width and height as encoded
};

// Encodes the job as WriteJobFile does (the job is prepared the same way and keeps that
// form) and reads back, in order, every pen-up and pen-down command with two numbers that
// the cutter receives, the header's and the final pen-up included, mapped back to the job
// as it was before (through the inverse of the job's placement when it holds one, to the
// nearest unit). JOB_DONE, or what WriteJobFile would fail with: JOB_NOTHING_TO_WRITE,
// JOB_NO_MEMORY.
JobResult TraceToolPath(CPlotJob& job, const JobFormat& format, const OffsetOptions& options, ToolPath& path);
