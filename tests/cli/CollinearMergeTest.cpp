#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "cli/CollinearMerge.h"

namespace {

std::string Text(const std::vector<PixelPoint>& points) {
  std::string out;
  for (const PixelPoint& p : points) {
    char pair[64];
    snprintf(pair, sizeof pair, "%s%g,%g", out.empty() ? "" : " ", p.x, p.y);
    out += pair;
  }
  return out;
}

// Distance from p to the segment a-b.
double SegmentDistance(PixelPoint p, PixelPoint a, PixelPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
  double t = length2 == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
  t = std::max(0.0, std::min(1.0, t));
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

TEST(CollinearMerge, PointsTheEyeCannotSeeGoAndOthersStay) {
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {10, 0.1}, {20, 0.1}, {30, 0.1}, {40, 0}}, 0.25)), "0,0 40,0");
  // (10, 0.2) lies 0.28 from a line to (30, -0.24): the stretch ends before that point.
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {10, 0.2}, {20, 0}, {30, -0.24}, {40, 0}}, 0.25)), "0,0 20,0 40,0");
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {10, 0.3}, {20, 0}}, 0.25)), "0,0 10,0.3 20,0");
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {0, 0}, {0.1, 0}, {0, 0}, {5, 5}}, 0.25)), "0,0 5,5");
  // Leftwards, where the direction's angle jumps between -180 and 180 degrees.
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {-1, 0.01}, {-2, -0.01}, {-3, 0.01}, {-4, 0}}, 0.25)), "0,0 -4,0");
  // A corner keeps its point; the straight pieces on either side lose their inner points.
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}, 0.25)), "0,0 2,0 2,2");
}

TEST(CollinearMerge, ACutThatDoublesBackKeepsItsFarEnd) {
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {10, 0}, {5, 0}}, 0.25)), "0,0 10,0 5,0");
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {5, 0}, {10, 0}, {-3, 0}}, 0.25)), "0,0 10,0 -3,0");
}

TEST(CollinearMerge, ToleranceZeroAndShortLinesKeepEveryPoint) {
  const std::vector<PixelPoint> line{{0, 0}, {1, 0}, {2, 0}, {3, 0}};
  EXPECT_EQ(Text(MergeCollinear(line, 0)), "0,0 1,0 2,0 3,0");
  EXPECT_EQ(Text(MergeCollinear({{0, 0}, {1, 0}}, 0.25)), "0,0 1,0");
  EXPECT_TRUE(MergeCollinear({}, 0.25).empty());
}

TEST(CollinearMerge, EveryPointLeftOutLiesWithinTheToleranceOfItsSegment) {
  // Random walks, gentle curves and a circle crossing the angle's wrap: each point left out
  // is checked against the kept segment that stands for it. A slowly turning line must not
  // add up its small turns into a larger error.
  std::mt19937 random(16);
  std::normal_distribution<double> step(0, 1), bend(0, 0.02);
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<PixelPoint> line{{0, 0}};
    double heading = random() % 628 / 100.0;
    for (int i = 0; i < 200; ++i) {
      heading += trial % 3 == 0 ? step(random) : bend(random);
      const double length = trial % 3 == 2 ? 0.05 : std::abs(step(random)) + 0.1;
      line.push_back({line.back().x + length * std::cos(heading), line.back().y + length * std::sin(heading)});
    }
    const std::vector<PixelPoint> kept = MergeCollinear(line, 0.25);
    ASSERT_GE(kept.size(), 2u);
    EXPECT_EQ(kept.front().x, line.front().x);
    EXPECT_EQ(kept.back().x, line.back().x);
    size_t k = 0;  // kept[k] is the last kept point at or before line[i]
    for (size_t i = 0; i < line.size(); ++i) {
      if (k + 1 < kept.size() && line[i].x == kept[k + 1].x && line[i].y == kept[k + 1].y) {
        ++k;
        continue;
      }
      if (line[i].x == kept[k].x && line[i].y == kept[k].y) continue;
      ASSERT_LT(k + 1, kept.size());
      EXPECT_LE(SegmentDistance(line[i], kept[k], kept[k + 1]), 0.25 + 1e-9) << "trial " << trial << " point " << i;
    }
  }
}

}  // namespace
