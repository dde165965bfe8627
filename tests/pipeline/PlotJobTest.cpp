#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "JobText.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/PlotJob.h"
#include "pipeline/SizeText.h"

namespace {

struct LoadedJob {
  explicit LoadedJob(const std::string& text) { job.LoadJob(dir.Write("job.plt", text).c_str()); }
  std::string Points() const { return PointsText(job.m_pPoints); }
  std::string Size() const { return job.WidthText() + " x " + job.HeightText(); }
  TempDir dir;
  CPlotJob job;
};

TEST(SizeText, SinglePrecisionThenTiesToEven) {
  EXPECT_EQ(MillimetreText(4003), "100.07");  // 100.075f lies just below 100.075
  EXPECT_EQ(MillimetreText(5), "0.12");       // 0.125 exactly: tie to even
  EXPECT_EQ(MillimetreText(15), "0.38");      // 0.375 exactly: tie to even
  EXPECT_EQ(MillimetreText(0), "0.00");
  EXPECT_EQ(MillimetreText(40000), "1000.00");
  EXPECT_EQ(MillimetreText(4294967295LL), "107374184.00");  // float rounding of 107374182.375
}

TEST(PlotJob, LoadingMovesTheJobToTheOrigin) {
  LoadedJob l("IN;SP1;PU-100,300;PD3903,1300;PD-100,300;SP0;");
  EXPECT_EQ(l.Points(), "U0,0 D4003,1000 D0,0");
  EXPECT_EQ(CommandsText(l.job.m_pCommands), "U0,0 D4003,1000 D0,0");
  EXPECT_EQ(l.Size(), "100.07 x 25.00");
}

TEST(PlotJob, CommandsMoveWithTheirControlPoints) {
  LoadedJob l("PU100,100;BZ100,50,200,50,200,100;");
  EXPECT_EQ(CommandsText(l.job.m_pCommands), "U0,38 C0,-12,100,-12,100,38 E");
}

TEST(PlotJob, UnreadableFileLeavesNoJob) {
  LoadedJob l("PU0,0;PD400,400;");
  l.job.LoadJob((l.dir.Path() / "missing.plt").string().c_str());
  EXPECT_FALSE(l.job.HasJob());
  EXPECT_EQ(l.job.m_pCommands, nullptr);
  EXPECT_EQ(l.job.m_pPoints, nullptr);
  l.job.Mirror();  // no job: only the state changes
  EXPECT_EQ(l.job.m_pPoints, nullptr);
  EXPECT_EQ(l.job.MirrorState, MIRROR_MIRRORED);
  EXPECT_EQ(l.job.LoadJob(nullptr), 1);
}

TEST(PlotJob, MissingFileKeepsTheSystemsReason) {
  TempDir dir;
  CPlotJob job;
  job.LoadJob((dir.Path() / "missing.plt").string().c_str());
  EXPECT_EQ(job.m_loadResult, JOB_CANNOT_OPEN);
  EXPECT_EQ(job.m_nLoadError, ENOENT);
  job.LoadJob(dir.Write("job.plt", "PU0,0;PD400,400;").c_str());
  EXPECT_EQ(job.m_loadResult, JOB_DONE);
  EXPECT_EQ(job.m_nLoadError, 0);
}

TEST(PlotJob, FileWithoutDrawingCommandsIsAnEmptyJob) {
  LoadedJob l("IN;SP1;");
  EXPECT_TRUE(l.job.HasJob());
  EXPECT_EQ(l.Points(), "E");
  EXPECT_EQ(l.Size(), "0.00 x 0.00");
}

TEST(PlotJob, MirrorTwiceGivesTheSamePoints) {
  LoadedJob l("PU0,0;PD100,0;PD30,50;");
  l.job.Mirror();
  EXPECT_EQ(l.Points(), "U100,0 D0,0 D70,50");
  l.job.Mirror();
  EXPECT_EQ(l.Points(), "U0,0 D100,0 D30,50");
}

TEST(PlotJob, QuarterTurnShortensTheLineByOneUnit) {
  LoadedJob l("PU0,0;PD1000,0;");
  l.job.RotateTo(1);
  EXPECT_EQ(l.Points(), "U0,999 D0,0");
  EXPECT_EQ(l.Size(), "0.00 x 24.98");
}

TEST(PlotJob, RotationStatesAreTheButtonBitmaps) {
  LoadedJob l("PU0,0;PD1000,0;");
  l.job.RotateTo(3);
  EXPECT_EQ(l.job.RotateState, ROTATE_270);
  l.job.RotateTo(5);  // whole turns drop out
  EXPECT_EQ(l.job.RotateState, ROTATE_90);
  EXPECT_EQ(l.job.QuarterTurns(), 1);
  EXPECT_EQ(l.Points(), "U0,999 D0,0");
  l.job.RotateTo(-1);
  EXPECT_EQ(l.job.RotateState, ROTATE_270);
  l.job.Mirror();
  EXPECT_EQ(l.job.MirrorState, MIRROR_MIRRORED);
  l.job.Mirror();
  EXPECT_EQ(l.job.MirrorState, MIRROR_NORMAL);
}

TEST(PlotJob, RotationTurnsClockwise) {
  // An L: a long arm along x and a short one up y. Clockwise by 90 degrees the long arm
  // points down and the short one along x.
  LoadedJob l("PU0,100;PD0,0;PD1000,0;");
  l.job.RotateTo(1);
  EXPECT_EQ(l.Points(), "U99,999 D0,999 D0,0");
}

TEST(PlotJob, EveryRotationRebuildsFromTheCommands) {
  LoadedJob l("PU0,0;PD1000,0;PD1000,500;");
  const std::string original = l.Points();
  l.job.RotateTo(2);
  EXPECT_NE(l.Points(), original);
  l.job.RotateTo(0);  // "Rotate4" after "Rotate2"
  EXPECT_EQ(l.Points(), original);

  l.job.MirrorState = MIRROR_MIRRORED;
  l.job.RotateTo(l.job.QuarterTurns());  // a dismissed Rotate menu rebuilds as it was
  EXPECT_EQ(l.Points(), "U1000,0 D0,0 D0,500");
}

TEST(PlotJob, RotationAfterTheJobFileMergedThePoints) {
  // Writing the job file merges the straight run into one line: the points have a node
  // fewer than the commands flatten to, and a rotation builds them anew.
  const std::string text = "PU0,0;PD500,0;PD1000,0;PD1000,700;";
  LoadedJob written(text);
  JobFailure why;
  ASSERT_EQ(WriteJobFile(written.job, (written.dir.Path() / "job.hb").string().c_str(), {DialectHpgl, true},
                         Options("", ""), &why),
            1);
  EXPECT_EQ(written.Points(), "U0,0 D1000,0 D1000,700");
  written.job.RotateTo(1);
  LoadedJob fresh(text);
  fresh.job.RotateTo(1);
  EXPECT_EQ(written.Points(), fresh.Points());
}

TEST(PlotJob, MirrorActsOnTheRotatedPoints) {
  // Mirror after a rotation mirrors the rotated shape; a rotation after a mirror rotates
  // the mirrored job. Both end at the origin.
  LoadedJob a("PU0,100;PD0,0;PD1000,0;");
  a.job.RotateTo(1);
  a.job.Mirror();
  EXPECT_EQ(a.Points(), "U0,999 D99,999 D99,0");

  LoadedJob b("PU0,100;PD0,0;PD1000,0;");
  b.job.Mirror();
  b.job.RotateTo(1);
  EXPECT_EQ(b.Points(), "U100,0 D0,0 D0,999");  // 100 * sin + 1000 * cos just above 100
  EXPECT_EQ(b.job.m_bounds.minX, 0);
  EXPECT_EQ(b.job.m_bounds.minY, 0);
}

// Panels apply to the job as mirrored and turned, and the cut order to each panel: a
// 50 x 310 mm rectangle fits 120 mm media as it is and needs three panels once turned.
// Caught: panels worked out before the rotation (none, or the turned job still in
// three), a fitting job rebuilt instead of left as it was, one weed border round all
// panels, a rotation back that keeps the panels.
TEST(PlotJob, PanelsComeAfterTheRotationAndBeforeTheCutOrder) {
  LoadedJob l("PU0,0;PD2000,0;PD2000,12400;PD0,12400;PD0,0;");
  const std::string upright = l.Points();
  ASSERT_EQ(l.job.SetPanels(PanelLayout{4800, 400, 800}), JOB_DONE);
  EXPECT_EQ(l.job.GetPanels().plan.count, 1);
  EXPECT_EQ(l.Points(), upright);
  ASSERT_EQ(l.job.RotateTo(1), JOB_DONE);
  EXPECT_EQ(l.job.GetPanels().plan.count, 3);
  const auto paths = [&]() {
    const std::string points = l.Points();
    return std::count(points.begin(), points.end(), 'U');
  };
  EXPECT_EQ(paths(), 3);
  CutOrder border;
  border.weedMargin = 200;  // 5 mm
  ASSERT_EQ(l.job.SetCutOrder(border), JOB_DONE);
  EXPECT_EQ(paths(), 6);
  // Three panels of 110 mm, each with its border 120 mm across.
  EXPECT_EQ(l.job.m_bounds.maxX - l.job.m_bounds.minX, 4800);
  ASSERT_EQ(l.job.SetCutOrder(CutOrder{}), JOB_DONE);
  ASSERT_EQ(l.job.RotateTo(0), JOB_DONE);
  EXPECT_EQ(l.job.GetPanels().plan.count, 1);
  EXPECT_EQ(l.Points(), upright);
}

// 41 by 32 units: the end point at x = 67 comes from double arithmetic (66 in extended
// precision would show 1.00). 41 / 40 = 1.025 is 1.0249999 as a float.
TEST(PlotJob, SizeOfACurveComputedInDoubles) {
  EXPECT_EQ(LoadedJob("IN;PU29,33;BZ13,74,64,59,67,25;SP0;").Size(), "1.02 x 0.80");
}

}  // namespace
