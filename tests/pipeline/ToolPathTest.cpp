#include <gtest/gtest.h>

#include "JobText.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/PlotJob.h"
#include "pipeline/ToolPath.h"

namespace {

// The moves as "U x,y" / "D x,y"; a run of equal moves at the start (the header's) is
// written once, after its count: "15xU x,y".
std::string MovesText(const std::vector<ToolMove>& moves) {
  const auto text = [](const ToolMove& m) {
    return (m.cut ? "D" : "U") + std::to_string(m.to.x) + "," + std::to_string(m.to.y);
  };
  size_t same = 0;
  while (same < moves.size() && text(moves[same]) == text(moves[0])) ++same;
  std::string out = same > 1 ? std::to_string(same) + "x" + text(moves[0]) : "";
  for (size_t i = same > 1 ? same : 0; i < moves.size(); ++i) out += (out.empty() ? "" : " ") + text(moves[i]);
  return out;
}

struct Traced {
  JobResult result;
  ToolPath path;
};

Traced Trace(const std::string& exchange, int dialect, const std::string& bladeOffset = "",
             const std::string& overcut = "") {
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", exchange).c_str());
  Traced traced;
  traced.result = TraceToolPath(job, {dialect, true}, Options(bladeOffset, overcut), traced.path);
  return traced;
}

TEST(ToolPath, WithoutOptionsTheCutterGetsTheJobsOwnMovesInBothDialects) {
  // Sent as (y, W - x): the header's "PU0,0" is the job's corner (W, 0), the final pen-up
  // the corner (W, H).
  for (int dialect : {DialectHpgl, DialectDmpl}) {
    const Traced t = Trace("PU0,0;PD400,0;PD400,400;PU1016,508;PD616,508;", dialect);
    ASSERT_EQ(t.result, JOB_DONE);
    EXPECT_EQ(MovesText(t.path.moves), "15xU1016,0 U0,0 D400,0 D400,400 U1016,508 D616,508 U1016,508") << dialect;
    EXPECT_EQ(t.path.extent.x, 1016);
    EXPECT_EQ(t.path.extent.y, 508);
  }
}

TEST(ToolPath, CutterAxesFollowTheSwappedPair) {
  const Traced t = Trace("PU0,0;PD4000,0;PD4000,1000;", DialectHpgl);
  const CutterAxes& axes = t.path.axes;
  EXPECT_EQ(axes.origin.x, 4000);
  EXPECT_EQ(axes.origin.y, 0);
  // The cutter's first coordinate is the job's y; its second grows as the job's x falls.
  EXPECT_EQ(axes.feed.x, 0);
  EXPECT_EQ(axes.feed.y, 1);
  EXPECT_EQ(axes.across.x, -1);
  EXPECT_EQ(axes.across.y, 0);
}

TEST(ToolPath, BladeOffsetSwingsRoundTheCornersAsTheFilterWrites) {
  // The filter's square with a = 15 units (0.375 mm), turned back to the job: the same
  // points as the filter gives for the square unturned, the overshoot 14 and not 15.
  const Traced t = Trace("PU0,0;PD1000,0;PD1000,1000;PD0,1000;PD0,0;PU5000,0;", DialectHpgl, "0.375");
  ASSERT_EQ(t.result, JOB_DONE);
  EXPECT_EQ(MovesText(t.path.moves),
            "15xU5000,0 U0,0 D0,0 D1014,0 D1000,15 D1000,1014 D985,1000 D-14,1000 D0,985 D0,-14 D15,0 D1000,0 "
            "U5000,0 U5000,1000");
}

TEST(ToolPath, OvercutCarriesAnOpenPathOnAndMergedRunsAreWhatIsSent) {
  // 1.6 mm = 64 units past (1024, 512) along the last segment; the inner point of the
  // horizontal run is not sent.
  const Traced t = Trace("PU0,0;PD512,0;PD1024,0;PD1024,512;", DialectDmpl, "", "1.6");
  EXPECT_EQ(MovesText(t.path.moves), "15xU1024,0 U0,0 D0,0 D1024,0 D1024,576 U1024,512");
}

TEST(ToolPath, NothingToTraceWithoutAJob) {
  CPlotJob job;
  ToolPath path;
  EXPECT_EQ(TraceToolPath(job, {DialectHpgl, true}, OffsetOptions(), path), JOB_NOTHING_TO_WRITE);
  EXPECT_TRUE(path.moves.empty());
}

}  // namespace
