#include <gtest/gtest.h>

#include "TempDir.h"
#include "pipeline/BlockWriter.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/JobModel.h"
#include "pipeline/OffsetFilter.h"

namespace {

// Runs commands through the filter into a real file and returns what was written.
std::string Filter(const std::vector<std::string>& commands, int a, int b, int dialect = DialectHpgl) {
  TempDir dir;
  const std::string path = (dir.Path() / "job.hb").string();
  FILE* file = fopen(path.c_str(), "wb");
  {
    CBlockWriter out(file);
    OffsetFilterState state;
    for (const auto& c : commands) OffsetFilter(state, out, c.c_str(), a, b, dialect);
  }
  fclose(file);
  return TempDir::Read(path);
}

const std::vector<std::string> SQUARE = {"PU0,0;", "PD1000,0;", "PD1000,1000;", "PD0,1000;", "PD0,0;", "PU5000,0;"};

TEST(OffsetFilter, WorkedSquareWithBladeOffset) {
  EXPECT_EQ(Filter(SQUARE, 15, 0),
            "PU0,0;"
            "PD0,0;PD1014,0;PD1000,15;"
            "PD1000,1014;PD985,1000;"
            "PD-14,1000;PD0,985;"
            "PD0,-14;PD15,0;PD1000,0;"
            "PU5000,0;");
}

TEST(OffsetFilter, OverCutCarriesTheClosingCutFurther) {
  EXPECT_EQ(Filter(SQUARE, 15, 34),
            "PU0,0;PD0,0;PD1014,0;PD1000,15;PD1000,1014;PD985,1000;PD-14,1000;PD0,985;"
            "PD0,-14;PD15,0;PD49,0;PU5000,0;");
  // Without blade offset the corners stay as they are and the start is cut twice.
  EXPECT_EQ(Filter(SQUARE, 0, 34), "PU0,0;PD0,0;PD1000,0;PD1000,1000;PD0,1000;PD0,0;PD0,0;PD34,0;PU5000,0;");
}

TEST(OffsetFilter, BothDistancesZeroPassesEverythingThrough) {
  std::vector<std::string> job = SQUARE;
  job.push_back("SP0;@");
  std::string joined;
  for (const auto& c : job) joined += c;
  EXPECT_EQ(Filter(job, 0, 0), joined);
}

TEST(OffsetFilter, SingleSegmentPathWritesOnlyItsEnd) {
  EXPECT_EQ(Filter({"PU0,0;", "PD100,0;", "PU0,0;"}, 15, 0), "PU0,0;PD100,0;PU0,0;");
  // An open path with over-cut ends b units beyond its last point.
  EXPECT_EQ(Filter({"PU0,0;", "PD100,0;", "PU0,0;"}, 0, 34), "PU0,0;PD134,0;PU0,0;");
  EXPECT_EQ(Filter({"PU0,0;", "PD0,100;", "PD100,100;", "PU0,0;"}, 0, 10), "PU0,0;PD0,0;PD0,100;PD110,100;PU0,0;");
}

TEST(OffsetFilter, TerminatorEndsAnOpenPathBeforeItIsWritten) {
  EXPECT_EQ(Filter({"PU0,0;", "PD100,0;", "SP0;@", "PU0,0;"}, 0, 34), "PU0,0;PD134,0;SP0;@PU0,0;");
}

TEST(OffsetFilter, DmplUsesSingleLetterKeywordsAndSpaces) {
  EXPECT_EQ(Filter({"U0,0 ", "D1000,0 ", "D1000,1000 ", "U0,0 ", "@ "}, 15, 0, DialectDmpl),
            "U0,0 D0,0 D1014,0 D1000,15 D1000,1000 U0,0 @ ");
}

// The encoder's entry: the same commands given as kinds and points.
std::string FilterPoints(const std::vector<std::pair<int32_t, IntPoint>>& commands, int a, int b, int dialect) {
  TempDir dir;
  const std::string path = (dir.Path() / "job.hb").string();
  FILE* file = fopen(path.c_str(), "wb");
  {
    CBlockWriter out(file);
    OffsetFilterState state;
    for (const auto& c : commands) OffsetFilterPoint(state, out, c.first, c.second, a, b, dialect);
  }
  fclose(file);
  return TempDir::Read(path);
}

TEST(OffsetFilter, PointsWriteWhatTheirTextWould) {
  const std::vector<std::pair<int32_t, IntPoint>> square = {{KIND_PEN_UP, {0, 0}},         {KIND_PEN_DOWN, {1000, 0}},
                                                            {KIND_PEN_DOWN, {1000, 1000}}, {KIND_PEN_DOWN, {0, 1000}},
                                                            {KIND_PEN_DOWN, {0, 0}},       {KIND_PEN_UP, {5000, 0}}};
  EXPECT_EQ(FilterPoints(square, 15, 34, DialectHpgl), Filter(SQUARE, 15, 34));
  EXPECT_EQ(FilterPoints(square, 0, 0, DialectHpgl), "PU0,0;PD1000,0;PD1000,1000;PD0,1000;PD0,0;PU5000,0;");
  EXPECT_EQ(FilterPoints(square, 15, 0, DialectDmpl),
            "U0,0 D0,0 D1014,0 D1000,15 D1000,1014 D985,1000 D-14,1000 D0,985 D0,-14 D15,0 D1000,0 U5000,0 ");
}

TEST(OffsetFilter, CornerIsSharpBelowOneHundredTwentyDegrees) {
  EXPECT_TRUE(IsSharpCorner({0, 0}, {-100, 0}, {0, 100}));   // right angle
  EXPECT_FALSE(IsSharpCorner({0, 0}, {-100, 0}, {100, 0}));  // straight on
  EXPECT_TRUE(IsSharpCorner({0, 0}, {-100, 0}, {50, 87}));   // about 119.9 degrees
  EXPECT_FALSE(IsSharpCorner({0, 0}, {-100, 0}, {50, 86}));  // about 120.2 degrees
  // Coinciding neighbours or a zero-length segment are never sharp.
  EXPECT_FALSE(IsSharpCorner({0, 0}, {100, 0}, {100, 0}));
  EXPECT_FALSE(IsSharpCorner({0, 0}, {0, 0}, {100, 0}));
  EXPECT_FALSE(IsSharpCorner({0, 0}, {100, 0}, {0, 0}));
}

}  // namespace
