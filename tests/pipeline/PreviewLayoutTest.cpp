#include <gtest/gtest.h>

#include <climits>

#include "JobText.h"
#include "pipeline/PlotJob.h"
#include "pipeline/PreviewLayout.h"

namespace {

std::string Strokes(const std::vector<PreviewStroke>& strokes) {
  std::string out;
  for (const PreviewStroke& s : strokes)
    out += (out.empty() ? "" : " ") + std::string(s.line ? "L" : "M") + std::to_string(s.x) + "," + std::to_string(s.y);
  return out;
}

// The strokes of the job's points, then " | " and its marks' crosses when it has marks.
std::string Layout(const std::string& exchange, int width, int height) {
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", exchange).c_str());
  const std::vector<IntPoint> marks = job.MarkPoints();
  const CPreviewLayout layout(job.m_pPoints, job.m_bounds, width, height, marks);
  const std::string out = Strokes({layout.begin(), layout.end()});
  return marks.empty() ? out : out + " | " + Strokes(PreviewMarkStrokes(layout.Frame(), marks));
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

// A mark 1807 units left of a square of 1016: 2823 units wide, 200 points, at a scale of 1
// in 213 x 213; the picture's left edge at the mark (pixel 2), the square from
// trunc(1807 * 9 / 127) + 2 = 130, the top at trunc(100 - 36) + 2 = 66. Fault caught: marks
// outside the drawing left off the picture, or moving the drawing when taken in.
TEST(PreviewLayout, MarksAreTakenIntoThePictureAsCrosses) {
  EXPECT_EQ(Layout("RM1,-1807,0;PU0,0;PD1016,0;PD1016,1016;PD0,1016;PD0,0;", 213, 213),
            "M130,138 L202,138 L202,66 L130,66 L130,138 | M-2,138 L6,138 M2,142 L2,134");
}

TEST(PreviewLayout, NothingWithoutPoints) {
  EXPECT_TRUE(CPreviewLayout(nullptr, JobBounds{0, 0, 0, 0}, 200, 200).empty());
  EXPECT_EQ(Layout("IN;", 200, 200), "");
}

TEST(PreviewFrame, ExactPlacesAreTheDialogsBeforeTheCutToWholePixels) {
  // 1 inch by half an inch in 267 x 267 (254 usable): 72 x 36 points at 254/72 pixels
  // each, so a quarter pixel per unit, the left edge at 2 and the top at trunc(127 - 63.5)
  // + 2 = 65.
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", "PU0,0;PD1016,508;").c_str());
  const CPreviewFrame frame(job.m_pPoints, job.m_bounds, 267, 267);
  EXPECT_NEAR(frame.Exact(0, 0).x, 2, 1e-9);
  EXPECT_NEAR(frame.Exact(0, 0).y, 192, 1e-9);
  EXPECT_NEAR(frame.Exact(1016, 508).x, 256, 1e-9);
  EXPECT_NEAR(frame.Exact(1016, 508).y, 65, 1e-9);
  EXPECT_NEAR(frame.Exact(-14, 600).x, -1.5, 1e-9);  // beyond the job, as a blade offset goes
  EXPECT_NEAR(frame.Exact(-14, 600).y, 42, 1e-9);
  EXPECT_NEAR(frame.MillimetresPerPixel(), 0.1, 1e-12);
  // Under 14 pixels the usable area is below zero and the picture turned over; the scale's
  // size stays. In -8 x -8 pixels s = -8/72 first, and as s * 36 = -4 exceeds -8 it is
  // multiplied by -8/-4: 1016 units in -16 pixels.
  EXPECT_NEAR(CPreviewFrame(job.m_pPoints, job.m_bounds, 5, 5).MillimetresPerPixel(), 25.4 / 16, 1e-12);
  // The dialog's pixels truncate: trunc(trunc(s * 1016 + 0.55) * 72 / 1016) + 2 = 255, and
  // the bottom trunc(trunc(s * 508 + 0.55) * 72 / 1016) + 65 = 191.
  EXPECT_EQ(frame.Pixel(1016, 508).x, 255);
  EXPECT_EQ(frame.Pixel(0, 0).y, 191);
  EXPECT_EQ(Layout("PU0,0;PD1016,508;", 267, 267), "M2,191 L255,65");
}

// Far beyond a job of under one point (drawn unscaled, its corner at pixel 102, flipped
// about y = 10), as a blade offset or a huge coordinate reaches: x becomes
// trunc(trunc(x + 0.55) * 72 / 1016) + 102, worked in exact integers, on both sides of
// 238,609,294 units, where nine times the value stops fitting 32 bits, and at the ends.
TEST(PreviewFrame, PixelsAtTheEndsOfTheRange) {
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", "PU0,0;PD10,10;").c_str());
  const CPreviewFrame frame(job.m_pPoints, job.m_bounds, 213, 213);
  const struct {
    int32_t coordinate;
    int expected;
  } xs[] = {{238609293, 16909421},   {238609294, 16909422},  {-238609294, -16909217},
            {-238609295, -16909218}, {INT32_MAX, 152183982}, {INT32_MIN, -152183778}};
  for (const auto& c : xs) EXPECT_EQ(frame.Pixel(c.coordinate, 0).x, c.expected) << c.coordinate;
  // y is 10 - y first, clamped: 2^31 + 10 becomes INT32_MAX.
  EXPECT_EQ(frame.Pixel(0, INT32_MIN).y, 152183982);
  EXPECT_EQ(frame.Pixel(0, -238609284).y, 16909422);
  EXPECT_EQ(frame.Pixel(0, INT32_MAX).y, -152183777);
}

}  // namespace
