// Paths of written job files, with places and lengths worked out by hand from the two
// dialects' command grammar.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "pipeline/CommandDialect.h"
#include "pipeline/JobPaths.h"

namespace {

struct PathCase {
  const char* name;
  int dialect;
  std::string body;              // after the dialect's header
  std::vector<uint64_t> starts;  // counted from the header's end
  uint64_t endingStart;          // likewise
  double cutUnits, travelUnits;
  std::string fromSecond;  // the body that JobFromPath keeps from path 2 on
};

// Both bodies cut two paths. The HPGL one moves twice between them: the path starts after
// the first path's last pen-down, so a send from path 2 keeps both moves. Lengths from the
// origin: HPGL travel 800 + 400 + hypot(200, 100) + 300, cut 400 + 300 + hypot(100, 100);
// DM/PL travel 800 + 400 + 300, cut 400 + 300 + 300.
const PathCase CASES[] = {
    {"HPGL",
     DialectHpgl,
     "PU0,800;PD0,400;PD300,400;PU300,0;PU100,100;PD0,0;PU300,0;SP0;@",
     {0, 26},
     50,
     700 + std::sqrt(20000.0),
     1500 + std::sqrt(50000.0),
     "PU300,0;PU100,100;PD0,0;PU300,0;SP0;@"},
    {"DM/PL",
     DialectDmpl,
     "U0,800 D0,400 D300,400 U300,0 D0,0 U300,0 @ ",
     {0, 23},
     35,
     1000,
     1500,
     "U300,0 D0,0 U300,0 @ "},
};

TEST(JobPaths, OpeningPathsEndingAndLengthsOfBothDialects) {
  for (const PathCase& c : CASES) {
    SCOPED_TRACE(c.name);
    const std::string header = StringsFor(c.dialect).header;
    const std::string file = header + c.body;
    const JobPaths paths = ReadJobPaths(file.data(), file.size(), c.dialect);
    EXPECT_EQ(paths.openingEnd, header.size());
    std::vector<uint64_t> starts;
    for (const uint64_t start : paths.starts) starts.push_back(start - header.size());
    EXPECT_EQ(starts, c.starts);
    EXPECT_EQ(paths.endingStart - header.size(), c.endingStart);
    EXPECT_NEAR(paths.cutUnits, c.cutUnits, 1e-9);
    EXPECT_NEAR(paths.travelUnits, c.travelUnits, 1e-9);

    EXPECT_EQ(JobFromPath(file.data(), file.size(), paths, 1), file);
    EXPECT_EQ(JobFromPath(file.data(), file.size(), paths, 2), header + c.fromSecond);
  }
}

TEST(JobPaths, AStopIsInThePathOfTheFirstByteNotSent) {
  const std::string header = StringsFor(DialectHpgl).header;
  const std::string file = header + CASES[0].body;
  const JobPaths paths = ReadJobPaths(file.data(), file.size(), DialectHpgl);
  const uint64_t second = header.size() + 26;
  const struct {
    uint64_t sent;
    int path;
  } stops[] = {{0, 1}, {header.size(), 1}, {second - 1, 1}, {second, 2}, {paths.endingStart, 2}, {file.size(), 2}};
  for (const auto& stop : stops) EXPECT_EQ(PathAt(paths, stop.sent), stop.path) << stop.sent;
}

TEST(JobPaths, BytesThatAreNoJobFileGiveNoOpeningNoEndingAndSkipBrokenCommands) {
  const std::string bytes = "PD5;PDx,1;PU1,1;PD2,2;XX";
  const JobPaths paths = ReadJobPaths(bytes.data(), bytes.size(), DialectHpgl);
  EXPECT_EQ(paths.openingEnd, 0u);
  EXPECT_EQ(paths.starts, std::vector<uint64_t>{0});
  EXPECT_EQ(paths.endingStart, bytes.size());
  EXPECT_NEAR(paths.cutUnits, std::sqrt(2.0), 1e-9);
  EXPECT_EQ(PathAt(ReadJobPaths("", 0, DialectDmpl), 0), 1);
}

}  // namespace
