// The progress line of a send: what it shows at a given width, and that it never reaches
// the terminal's last column.
#include <gtest/gtest.h>

#include "cli/ProgressLine.h"

namespace {

// 16128 of 38400 bytes is 42 %.
const uint64_t SENT = 16128;
const uint64_t TOTAL = 38400;

TEST(ProgressLine, AWideTerminalShowsBarPercentSizesAndTimeLeft) {
  // 40 marks, 42 % of them filled: 16.
  EXPECT_EQ(ProgressLine(80, SENT, TOTAL, 6),
            "[################                        ]  42%  16.1 of 38.4 kB  0:06 left");
  // The bar takes no more than 40 marks however wide the terminal is.
  EXPECT_EQ(ProgressLine(200, SENT, TOTAL, 6), ProgressLine(80, SENT, TOTAL, 6));
}

TEST(ProgressLine, TheBarShrinksThenTheSizesGoThenTheBarThenTheTimeLeft) {
  // 52 columns: 51 for the line, 16 marks (6 filled) beside the 32 characters of text.
  EXPECT_EQ(ProgressLine(52, SENT, TOTAL, 6), "[######          ]  42%  16.1 of 38.4 kB  0:06 left");
  // 46 columns: the fewest marks with the sizes, 10 (4 filled).
  EXPECT_EQ(ProgressLine(46, SENT, TOTAL, 6), "[####      ]  42%  16.1 of 38.4 kB  0:06 left");
  // 45 columns: the sizes go and the bar grows back to 26 marks (10 filled).
  EXPECT_EQ(ProgressLine(45, SENT, TOTAL, 6), "[##########                ]  42%  0:06 left");
  // 40 columns: 21 marks (8 filled).
  EXPECT_EQ(ProgressLine(40, SENT, TOTAL, 6), "[########             ]  42%  0:06 left");
  // 20 columns: no room for 10 marks; the percentage and the time left.
  EXPECT_EQ(ProgressLine(20, SENT, TOTAL, 6), " 42%  0:06 left");
  // 12 columns: the percentage alone.
  EXPECT_EQ(ProgressLine(12, SENT, TOTAL, 6), " 42%");
  // Narrower than that: as much of it as fits.
  EXPECT_EQ(ProgressLine(3, SENT, TOTAL, 6), "42");
  EXPECT_EQ(ProgressLine(1, SENT, TOTAL, 6), "");
  EXPECT_EQ(ProgressLine(0, SENT, TOTAL, 6), "");
  EXPECT_EQ(ProgressLine(-4, SENT, TOTAL, 6), "");
}

TEST(ProgressLine, StartEndAndUnknownTime) {
  EXPECT_EQ(ProgressLine(40, 0, TOTAL, -1), "[                     ]   0%  -:-- left");
  EXPECT_EQ(ProgressLine(40, TOTAL, TOTAL, 0), "[#####################] 100%  0:00 left");
  // An empty job is done at once.
  EXPECT_EQ(ProgressLine(20, 0, 0, 0), "100%  0:00 left");
  // More than the total (never from a stream) stays at 100 %.
  EXPECT_EQ(ProgressLine(12, 2 * TOTAL, TOTAL, 0), "100%");
  EXPECT_EQ(ProgressLine(80, 512, 900, 1),
            "[######################                  ]  56%  512 of 900 bytes  0:01 left");
}

TEST(ProgressLine, NeverReachesTheLastColumn) {
  const struct {
    uint64_t sent, total;
    double left;
  } cases[] = {{0, 0, -1},       {0, 1, -1},          {999, 1000, 0.5},
               {SENT, TOTAL, 6}, {1, 52428800, 7200}, {52428800000ull, 52428800000ull, 0},
               {5, 10, 1e12},    {3, 7, 359999},      {123456789, 987654321, 4000}};
  for (const auto& c : cases) {
    for (int columns = 0; columns <= 130; ++columns) {
      const std::string line = ProgressLine(columns, c.sent, c.total, c.left);
      EXPECT_LE(static_cast<int>(line.size()), std::max(columns - 1, 0)) << columns << " columns: \"" << line << "\"";
      if (columns >= 6) {
        EXPECT_NE(line.find('%'), std::string::npos) << line;
      }
    }
  }
}

// A cutter that takes nothing left the line as it was, like a send that hangs.
TEST(ProgressLine, AStalledCutterGetsALineOfItsOwnCutToTheWidth) {
  EXPECT_EQ(StalledLine(80, 10), "the cutter has taken nothing for 10 s: is it paused or off-line? Ctrl-C stops");
  EXPECT_EQ(StalledLine(20, 12), "the cutter has take");
  EXPECT_EQ(StalledLine(0, 10), "");
}

}  // namespace
