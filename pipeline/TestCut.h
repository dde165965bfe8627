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

#include "pipeline/CutOrder.h"
#include "pipeline/PlotJob.h"

extern const char* const TEST_CUT_DRAWING;

// What the user checks once the test cut has been sent.
extern const char* const TEST_CUT_SENT_TEXT;

// Writes the test cut's drawing to the file at `path`, to be loaded as any drawing is. 0;
// the error number of the open, write or close that failed.
int WriteTestCutDrawing(const std::string& path);

// Loads the test cut into `job` in `order` (a test cut's, the passes only) through its
// drawing written to the file at `drawingPath`, as a front end without a drawing file of
// its own sends it. False when the file cannot be written or the job not loaded.
bool LoadTestCut(CPlotJob& job, const std::string& drawingPath, const CutOrder& order);
