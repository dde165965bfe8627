#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <tuple>

#include "JobText.h"
#include "pipeline/Geometry.h"

namespace {

std::string Flatten(const std::string& text) { return FlattenedText(text); }

TEST(Bezier, PowerFormHitsTheEndsAndTruncates) {
  const IntPoint s{0, 0}, c1{0, 100}, c2{100, 100}, e{100, 0};
  EXPECT_EQ(BezierPoint(s, c1, c2, e, 0).x, 0);
  EXPECT_EQ(BezierPoint(s, c1, c2, e, 1).x, 100);
  EXPECT_EQ(BezierPoint(s, c1, c2, e, 1).y, 0);
  // Midpoint of this arch: x = 50, y = 75.
  EXPECT_EQ(BezierPoint(s, c1, c2, e, 0.5).x, 50);
  EXPECT_EQ(BezierPoint(s, c1, c2, e, 0.5).y, 75);
  // Truncation toward zero for negative values: y(1/3) of a downward arch is -66.67.
  EXPECT_EQ(BezierPoint(s, {0, -100}, {100, -100}, e, 1.0 / 3).y, -66);
}

TEST(Bezier, FarApartCoordinatesDoNotOverflow) {
  const IntPoint s{-2000000000, 0}, e{2000000000, 0};
  EXPECT_EQ(BezierPoint(s, s, e, e, 1).x, 2000000000);
  EXPECT_EQ(BezierPoint(s, s, e, e, 0.5).x, 0);
  // c = 3 * (x1 - x0) = 3e9 does not fit 32 bits: b = -3e9, a = 0, x(t) = 3e9 * t * (1 - t).
  EXPECT_EQ(BezierPoint({0, 0}, {1000000000, 0}, {1000000000, 0}, {0, 0}, 0.5).x, 750000000);
}

TEST(Flatten, SegmentCountIsTheRootOfTheChord) {
  // A chord of 400 units gives 20 segments: 21 points, the first repeating the start.
  const std::string points = Flatten("PU0,0;BZ0,0,400,0,400,0;");
  EXPECT_EQ(std::count(points.begin(), points.end(), 'D'), 21);
  EXPECT_EQ(points.substr(0, 11), "U0,0 D0,0 D");
  EXPECT_EQ(points.substr(points.size() - 8), "D400,0 E");
  // A chord of 3 gives one segment: the start and the end.
  EXPECT_EQ(Flatten("PU0,0;BZ1,0,2,0,3,0;"), "U0,0 D0,0 D3,0 E");
}

TEST(Flatten, ClosedCurveProducesNothing) {
  EXPECT_EQ(Flatten("PU5,5;BZ100,100,200,0,5,5;PD6,6;"), "U5,5 D6,6");
  // The curve's exact end point is the next curve's start.
  EXPECT_EQ(Flatten("PU0,0;BZ0,0,0,0,0,0;BZ1,0,2,0,3,0;"), "U0,0 D0,0 D3,0 E");
}

TEST(Flatten, CurveBeforeAnyMoveStartsAtTheOrigin) { EXPECT_EQ(Flatten("BZ1,0,2,0,3,0;"), "D0,0 D3,0 E"); }

TEST(Flatten, PlaceholderOnlyWhereTheListGoesOn) {
  EXPECT_EQ(Flatten("PU0,0;PD10,0;SP0;"), "U0,0 D10,0");
  EXPECT_EQ(Flatten("PU0,0;PD10,0;"), "U0,0 D10,0");
  EXPECT_EQ(Flatten(""), "E");
  PointList untouched = nullptr;
  FlattenCommands(nullptr, untouched);
  EXPECT_EQ(untouched, nullptr);
}

TEST(Bounds, TakeMovesAndLinesOnly) {
  CommandList commands = ReadText("PU-5,7;PD10,-3;BZ1,0,2,0,3,0;");
  PointList points = nullptr;
  FlattenCommands(commands, points);
  JobBounds b{1, 1, 1, 1};
  ComputeBounds(points, b);
  EXPECT_EQ(b.minX, -5);
  EXPECT_EQ(b.maxX, 10);
  EXPECT_EQ(b.minY, -3);
  EXPECT_EQ(b.maxY, 7);
  FreeCommands(commands);
  FreePoints(points);
}

TEST(Bounds, PlaceholderOnlyListIsZero) {
  PointList points = NewEmptyPoint();
  points->x = 99;
  JobBounds b{1, 2, 3, 4};
  ComputeBounds(points, b);
  EXPECT_EQ(b.minX, 0);
  EXPECT_EQ(b.maxX, 0);
  EXPECT_EQ(b.maxY, 0);
  EXPECT_EQ(b.minY, 0);
  FreePoints(points);
  ComputeBounds(nullptr, b);  // nothing happens
}

TEST(Transform, QuarterTurnLandsOneUnitShort) {
  CommandList commands = ReadText("PU1000,0;");
  PointList points = nullptr;
  FlattenCommands(commands, points);
  const double a = 1.5707963;
  TransformPoints(points, JobTransform{std::cos(a), std::sin(a), -std::sin(a), std::cos(a), 0, 0});
  EXPECT_EQ(PointsText(points), "U0,-999");
  FreeCommands(commands);
  FreePoints(points);
}

TEST(Transform, CommandsMoveEveryPairOfACurve) {
  CommandList commands = ReadText("PU1,2;BZ1,2,3,4,5,6;");
  TransformCommands(JobTransform{1, 0, 0, 1, 10, -1}, commands);
  EXPECT_EQ(CommandsText(commands), "U11,1 C11,1,13,3,15,5 E");
  FreeCommands(commands);
}

// The walk that keeps the bounds gives the points of the plain walk and the bounds of
// ComputeBounds, and the mirror fused with the move to the origin, in integers, gives the
// integers and bounds of the general transform in doubles, on random jobs that reach both
// ends of the range, with the mirror applied twice so that the second starts at the origin.
TEST(Transform, IntegerWalksMatchTheDoublesOnRandomJobs) {
  std::mt19937 random(7);
  const int32_t ends[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
  auto coordinate = [&] {
    switch (random() % 3) {
      case 0: return ends[random() % 7];
      case 1: return static_cast<int32_t>(random() % 2001) - 1000;
      default: return static_cast<int32_t>(random());
    }
  };
  auto expectSame = [](PointList a, const JobBounds& ab, PointList b, const JobBounds& bb) {
    EXPECT_EQ(PointsText(a), PointsText(b));
    EXPECT_EQ(std::make_tuple(ab.minX, ab.maxX, ab.maxY, ab.minY), std::make_tuple(bb.minX, bb.maxX, bb.maxY, bb.minY));
  };
  for (int job = 0; job < 3000; ++job) {
    std::string text;
    for (int i = 0, n = 1 + random() % 5; i < n; ++i) {
      text += (random() % 2 ? "PU" : "PD") + std::to_string(coordinate()) + "," + std::to_string(coordinate()) + ";";
    }
    CommandList commands = ReadText(text);
    PointList doubles = nullptr, integers = nullptr;
    FlattenCommands(commands, doubles);
    FlattenCommands(commands, integers);
    JobBounds db, ib;
    const JobTransform move{1, 0, 0, 1, coordinate(), coordinate()};
    TransformPoints(doubles, move);
    ComputeBounds(doubles, db);
    TransformPoints(integers, move, ib);
    expectSame(doubles, db, integers, ib);
    for (int mirror = 0; mirror < 2; ++mirror) {
      TransformPoints(doubles, JobTransform{-1, 0, 0, 1, 0, 0});
      ComputeBounds(doubles, db);
      TransformPoints(doubles, OriginTranslation(db));
      ComputeBounds(doubles, db);
      MirrorToOrigin(integers, ib);
      expectSame(doubles, db, integers, ib);
    }
    FreeCommands(commands);
    FreePoints(doubles);
    FreePoints(integers);
  }
}

// Flattening again into a list's own nodes gives the points of a new list, whatever was
// done to them since, on random jobs of moves, lines and curves, with and without the
// closing placeholder; a list with a node more or fewer is refused.
TEST(Flatten, IntoTheSameNodesOnRandomJobs) {
  std::mt19937 random(11);
  auto number = [&] { return std::to_string(static_cast<int32_t>(random() % 20001) - 10000); };
  for (int job = 0; job < 500; ++job) {
    std::string text;
    for (int i = 0, n = random() % 6; i < n; ++i) {
      const int kind = random() % 3;
      text += kind == 0   ? "PU"
              : kind == 1 ? "PD"
                          : "BZ" + number() + "," + number() + "," + number() + "," + number() + ",";
      text += number() + "," + number() + ";";
    }
    if (random() % 2) text += "SP0;";
    CommandList commands = ReadText(text);
    if (!commands) continue;  // nothing read: no list to flatten into
    PointList points = nullptr, fresh = nullptr;
    FlattenCommands(commands, points);
    FlattenCommands(commands, fresh);
    TransformPoints(points, JobTransform{0, 1, -1, 0, 7, -3});
    ASSERT_TRUE(FlattenCommandsInto(commands, points)) << text;
    EXPECT_EQ(PointsText(points), PointsText(fresh)) << text;

    PlotPoint* extra = NewEmptyPoint();
    extra->next = points->next;
    points->next = extra;
    EXPECT_FALSE(FlattenCommandsInto(commands, points)) << text;
    points->next = extra->next;
    extra->next = nullptr;
    FreePoints(extra);
    if (PlotPoint* second = points->next) {
      points->next = second->next;
      second->next = nullptr;
      FreePoints(second);
      EXPECT_FALSE(FlattenCommandsInto(commands, points)) << text;
    }
    FreeCommands(commands);
    FreePoints(points);
    FreePoints(fresh);
  }
}

// Curve points computed in IEEE double precision and truncated: the job files depend on it.
// Worked by hand for the first curve, y at t = 1/3 (the double just below a third):
// c = -24, b = 168, a = -153; a * t = -50.999999999999997 rounds to -51, + 168 = 117,
// * t = 38.999999999999998 rounds to 39, - 24 = 15, * t = 4.9999999999999997 rounds to 5,
// + 12 = 17. The exact value lies below 17, and so does the x87 unit's 64-bit-mantissa
// result, which truncates to 16: a 32-bit build that computed there wrote other points.
TEST(DoublePrecision, CurvePointsAreTruncatedDoubles) {
  EXPECT_EQ(Flatten("PU65,12;BZ61,4,52,52,65,3;"), "U65,12 D65,12 D60,17 D58,25 D65,3 E");
  // t reaches 0.9999999999999999 after six steps of 1/6; in doubles the end still comes to
  // 67.0 and 25.0 (extended precision gives 66).
  EXPECT_EQ(Flatten("PU29,33;BZ13,74,64,59,67,25;"), "U29,33 D29,33 D26,49 D31,56 D40,57 D52,51 D62,40 D67,25 E");
  EXPECT_EQ(Flatten("PU27,11;BZ57,5,78,35,50,42;"), "U27,11 D27,11 D41,10 D52,14 D60,21 D63,29 D60,36 D50,42 E");
}

}  // namespace
