#include <gtest/gtest.h>

#include "JobText.h"
#include "PlotJob.h"
#include "PreviewLayout.h"

namespace {

std::string Layout(const std::string& exchange, int width, int height) {
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", exchange).c_str());
  std::string out;
  for (const PreviewStroke& s : LayoutPreview(job.m_pPoints, job.m_bounds, width, height))
    out += (out.empty() ? "" : " ") + std::string(s.line ? "L" : "M") + std::to_string(s.x) + "," + std::to_string(s.y);
  return out;
}

TEST(PreviewLayout, WideJobFillsTheWidthAndIsCentredVertically) {
  // 2 x 1 inch in a 213 x 213 control (200 x 200 usable): 144 x 72 points, scale 200/144.
  // The leftmost point is 2 pixels from the edge, the top edge of the job at the top.
  EXPECT_EQ(Layout("PU0,0;PD2032,0;PD2032,1016;PD0,1016;PD0,0;", 213, 213), "M2,151 L201,151 L201,52 L2,52 L2,151");
}

TEST(PreviewLayout, LargestYIsDrawnAtTheTop) { EXPECT_EQ(Layout("PU0,0;PD1016,2032;", 213, 213), "M52,201 L151,2"); }

TEST(PreviewLayout, JobWithoutExtentInOneDirectionFitsTheOther) {
  EXPECT_EQ(Layout("PU0,0;PD2032,0;", 213, 213), "M2,102 L201,102");
  EXPECT_EQ(Layout("PU0,0;PD10,10;", 213, 213), "M102,102 L102,102");  // under one point both ways
}

TEST(PreviewLayout, NothingWithoutPoints) {
  EXPECT_TRUE(LayoutPreview(nullptr, JobBounds{0, 0, 0, 0}, 200, 200).empty());
  EXPECT_EQ(Layout("IN;", 200, 200), "");
}

}  // namespace
