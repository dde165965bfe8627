#include "pipeline/TestCut.h"

#include "base/TextFile.h"

const char* const TEST_CUT_DRAWING =
    "IN;SP1;\n"
    "PU100,100;PD300,200;PD100,300;PD100,100;\n"
    "PU0,0;PD400,0;PD400,400;PD0,400;PD0,0;\n"
    "SP0;\n";

const char* const TEST_CUT_SENT_TEXT =
    "Test cut sent: a 10 mm square around a triangle at the origin. Check that the square measures 10.0 mm, its "
    "corners are sharp and closed and the backing is not cut; then move the origin before the job.";

int WriteTestCutDrawing(const std::string& path) { return WriteTextFile(path, TEST_CUT_DRAWING); }

bool LoadTestCut(CPlotJob& job, const std::string& drawingPath, const CutOrder& order) {
  if (WriteTestCutDrawing(drawingPath) != 0 || job.SetCutOrder(order) != JOB_DONE) return false;
  job.LoadJob(drawingPath.c_str());
  return job.HasJob();
}
