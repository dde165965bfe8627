// The frame of a job: its bounding box traced with the pen up, in the dialect and the
// coordinates its job file would have, so the cutter's head shows where the job will land
// on the material before anything is cut. The dialect's opening, the four corners in order
// from the job file's origin, a pen-up back to that origin and the dialect's ending; a job
// 800 units wide and 500 high, in HPGL with the pair swapped:
//
//   IN;SP1;PU0,0;...PU0,0;  PU0,0;PU500,0;PU500,800;PU0,800;  PU0,0;  SP0;@
#pragma once

#include <string>

#include "pipeline/CommandDialect.h"
#include "pipeline/PlotJob.h"

// The frame of `job` in `format`: its dialect, the coordinate pair swapped when it says so;
// the header carries `tool`, so the head moves at the job's speed.
// The job is prepared for writing first, as the job file writer does (the job keeps that
// form). With a placement held, the four corners are where it puts them (PlacedJobFilePoint)
// and the frame ends at the first. "" when there is no job to frame: none loaded, no point
// left, or memory ran out.
std::string JobFrameCommands(CPlotJob& job, const JobFormat& format, const ToolSettings& tool);
