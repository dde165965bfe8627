// The frame's bytes, worked out by hand from the job file's rules: the job moved to the
// origin, x counted from its right edge, the pair swapped for every cutter protocol.
#include <gtest/gtest.h>

#include "JobText.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/JobFrame.h"

namespace {

TEST(JobFrame, PenUpsRoundTheBoxWhereTheJobFilePutsIt) {
  struct Case {
    const char* exchange;
    int dialect;
    bool swapXY;
    std::string corners;  // between the dialect's opening and its ending
  };
  // 800 x 500 units at (100, 200); the second job 400 x 300 at (-300, -100).
  const Case cases[] = {
      {"PU100,200;PD900,200;PD900,700;", DialectHpgl, true, "PU0,0;PU500,0;PU500,800;PU0,800;PU0,0;"},
      {"PU100,200;PD900,200;PD900,700;", DialectDmpl, true, "U0,0 U500,0 U500,800 U0,800 U0,0 "},
      {"PU100,200;PD900,200;PD900,700;", DialectHpgl, false, "PU0,0;PU0,500;PU800,500;PU800,0;PU0,0;"},
      {"PU-300,-100;PD100,-100;PD100,200;", DialectHpgl, true, "PU0,0;PU300,0;PU300,400;PU0,400;PU0,0;"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    CPlotJob job;
    job.LoadJob(dir.Write("job.plt", c.exchange).c_str());
    const DialectStrings& strings = StringsFor(c.dialect);
    EXPECT_EQ(JobFrameCommands(job, {c.dialect, c.swapXY}, {}), strings.header + c.corners + strings.terminator)
        << c.exchange << " dialect " << c.dialect << " swap " << c.swapXY;
  }
}

TEST(JobFrame, NothingWithoutAJob) {
  CPlotJob job;
  EXPECT_EQ(JobFrameCommands(job, {DialectHpgl, true}, {}), "");
}

}  // namespace
