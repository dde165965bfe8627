#include <gtest/gtest.h>

#include "JobText.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/TestCut.h"

namespace {

// The built-in test cut is the example drawing, and its HPGL job is the triangle at
// (y, 400 - x) first, then the square from (0, 400), the final pen-up at (400, 0). Caught:
// the built-in drawing and examples/test-cut.plt drifting apart (the test cut then differs
// from encoding the example), the shapes in the wrong order, and a scratch file that
// cannot be written taken for a loaded job.
TEST(TestCut, TheExampleDrawingCutTriangleFirst) {
  EXPECT_EQ(TempDir::Read(std::string(PLOTGATE_EXAMPLES) + "/test-cut.plt"), TEST_CUT_DRAWING);
  TempDir dir;
  CPlotJob job;
  const JobFailure loaded = LoadTestCut(job, (dir.Path() / "test-cut.plt").string());
  ASSERT_EQ(loaded.result, JOB_DONE);
  const std::string path = (dir.Path() / "job.hb").string();
  ASSERT_EQ(WriteJobFile(job, path.c_str(), {DialectHpgl, true}, {}), 1);
  std::string header = "IN;SP1;";
  for (int i = 0; i < 15; ++i) header += "PU0,0;";
  EXPECT_EQ(TempDir::Read(path), header +
                                     "PU100,300;PD200,100;PD300,300;PD100,300;PU0,400;PD0,0;PD400,0;PD400,400;PD0,400;"
                                     "PU400,0;SP0;@");

  CPlotJob untouched;
  const JobFailure refused = LoadTestCut(untouched, (dir.Path() / "no-folder" / "t.plt").string());
  EXPECT_EQ(refused.result, JOB_CANNOT_CREATE);
  EXPECT_NE(refused.systemError, 0);
  EXPECT_FALSE(untouched.HasJob());
}

}  // namespace
