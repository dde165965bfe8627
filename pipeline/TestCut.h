// The test cut: a triangle inside a 10 mm square at the origin, the inner shape first, cut
// with a material's offset, over-cut, passes, force and speed before the job itself, so
// that the user sees whether the corners come out sharp and closed and the backing uncut.
// Mirror, rotation and cut order belong to a job and do not apply. The drawing is the one
// examples/test-cut.plt holds:
//
//   IN;SP1;
//   PU100,100;PD300,200;PD100,300;PD100,100;
//   PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;
//   SP0;
#pragma once

#include <string>

#include "pipeline/JobResult.h"
#include "pipeline/PlotJob.h"

extern const char* const TEST_CUT_DRAWING;

// What the user checks once the test cut has been sent.
extern const char* const TEST_CUT_SENT_TEXT;

// Loads the test cut into `job` as any drawing is loaded, through the file `scratchPath`,
// which is written with the drawing first. JOB_DONE; JOB_CANNOT_CREATE or JOB_WRITE_FAILED,
// with the error number, when the file cannot be written (the job is then untouched);
// otherwise the job's own load result and error.
JobFailure LoadTestCut(CPlotJob& job, const std::string& scratchPath);
