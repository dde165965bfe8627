#include <gtest/gtest.h>

#include "JobText.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/TestCut.h"

namespace {

// The built-in test cut is the example drawing, and its HPGL job is the triangle at
// (y, 400 - x) first, then the square from (0, 400), the final pen-up at (400, 0). Caught:
// the built-in drawing and examples/test-cut.plt drifting apart (the test cut then differs
// from encoding the example), the shapes in the wrong order, and a file that cannot be
// written taken for a written one.
TEST(TestCut, TheExampleDrawingCutTriangleFirst) {
  EXPECT_EQ(TempDir::Read(std::string(PLOTGATE_EXAMPLES) + "/test-cut.plt"), TEST_CUT_DRAWING);
  TempDir dir;
  const std::string drawing = (dir.Path() / "test-cut.plt").string();
  ASSERT_EQ(WriteTestCutDrawing(drawing), 0);
  CPlotJob job;
  job.LoadJob(drawing.c_str());
  const std::string path = (dir.Path() / "job.hb").string();
  ASSERT_EQ(WriteJobFile(job, path.c_str(), {DialectHpgl, true}, {}), 1);
  std::string header = "IN;SP1;";
  for (int i = 0; i < 15; ++i) header += "PU0,0;";
  EXPECT_EQ(TempDir::Read(path), header +
                                     "PU100,300;PD200,100;PD300,300;PD100,300;PU0,400;PD0,0;PD400,0;PD400,400;PD0,400;"
                                     "PU400,0;SP0;@");
  EXPECT_NE(WriteTestCutDrawing((dir.Path() / "no-folder" / "t.plt").string()), 0);
}

}  // namespace
