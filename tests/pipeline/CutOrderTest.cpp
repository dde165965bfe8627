#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "JobText.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/CutOrder.h"
#include "pipeline/JobFileWriter.h"

namespace {

// One path of a point list as text: its move and lines, "U0,0 D10,0 ...".
std::vector<std::string> PathsOf(PointList points) {
  std::vector<std::string> paths;
  for (const PlotPoint* p = points; p; p = p->next) {
    if (p->kind != KIND_PEN_UP && p->kind != KIND_PEN_DOWN) continue;
    if (p->kind == KIND_PEN_UP || paths.empty()) paths.emplace_back();
    paths.back() += (paths.back().empty() ? "" : " ") + std::string(p->kind == KIND_PEN_UP ? "U" : "D") +
                    std::to_string(p->x) + "," + std::to_string(p->y);
  }
  return paths;
}

// The job of exchange text `text` (at the origin) cut in `order`, as a point list.
struct Ordered {
  Ordered(const std::string& text, const CutOrder& order) {
    CommandList commands = ReadText(text);
    FlattenCommands(commands, geometry);
    FreeCommands(commands);
    ComputeBounds(geometry, bounds);
    result = OrderCuts(geometry, bounds, order, points, outBounds, &steps);
  }
  ~Ordered() {
    FreePoints(geometry);
    FreePoints(points);
  }
  // The starts of the paths, in cut order.
  std::string Starts() const {
    std::string starts;
    for (const std::string& path : PathsOf(points))
      starts += (starts.empty() ? "" : " ") + path.substr(1, path.find(' ') - 1);
    return starts;
  }
  PointList geometry = nullptr, points = nullptr;
  JobBounds bounds{}, outBounds{};
  JobResult result;
  uint64_t steps = 0;  // the work of finding which paths lie inside which
};

CutOrder InsideFirst() {
  CutOrder order;
  order.insideFirst = true;
  return order;
}

// A closed square path from (x, y), `side` units, anticlockwise.
std::string Square(int x, int y, int side) {
  auto at = [](int px, int py) { return std::to_string(px) + "," + std::to_string(py) + ";"; };
  return "PU" + at(x, y) + "PD" + at(x + side, y) + "PD" + at(x + side, y + side) + "PD" + at(x, y + side) + "PD" +
         at(x, y);
}

TEST(CutOrder, InnerPathsComeBeforeThePathsAroundThem) {
  struct Case {
    const char* what;
    std::string job;
    const char* starts;
  } cases[] = {
      {"nested three deep, outermost first", Square(0, 0, 900) + Square(100, 100, 700) + Square(200, 200, 500),
       "200,200 100,100 0,0"},
      {"a counter after its letter", Square(0, 0, 400) + Square(100, 100, 200), "100,100 0,0"},
      {"a counter already first", Square(100, 100, 200) + Square(0, 0, 400), "100,100 0,0"},
      {"two side by side keep their order", Square(1000, 0, 400) + Square(0, 0, 400), "1000,0 0,0"},
      // The open path lies nearer A than B in the drawing's order and stays after A.
      {"an open path between them goes with the nearer",
       Square(0, 0, 400) + "PU500,0;PD900,0;" + Square(1000, 0, 400) + Square(100, 100, 200),
       "1000,0 100,100 0,0 500,0"},
      {"touching its outer at one point", Square(0, 0, 900) + "PU0,0;PD300,100;PD100,300;PD0,0;" + Square(900, 0, 300),
       "0,0 0,0 900,0"},
      {"within the bounds but in the notch of an L is not inside",
       "PU0,0;PD900,0;PD900,300;PD300,300;PD300,900;PD0,900;PD0,0;" + Square(500, 500, 300), "0,0 500,500"},
      {"an identical copy is not inside its twin", Square(0, 0, 400) + Square(0, 0, 400), "0,0 0,0"},
      // A path inside two that do not hold each other waits for both; waiting only for the
      // nearest let the other be cut first.
      {"a letter drawn twice waits for its counter with both copies",
       Square(0, 0, 400) + Square(100, 100, 200) + Square(0, 0, 400), "100,100 0,0 0,0"},
      {"a counter inside two crossing outlines",
       Square(0, 0, 400) + "PU300,50;PD500,50;PD500,350;PD300,350;PD300,50;" + Square(320, 100, 50),
       "320,100 0,0 300,50"},
      // Open paths that start within a closed path are cut just before the innermost one
      // holding their start, wherever the drawing has them; going with the nearest closed
      // path in the drawing's order cut these after the shape, on loose material.
      {"an open path inside a shape drawn after the next shape",
       Square(0, 0, 400) + Square(1000, 0, 400) + "PU100,100;PD300,300;", "100,100 0,0 1000,0"},
      {"open paths in a letter and in its counter",
       Square(0, 0, 900) + Square(100, 100, 500) + "PU50,50;PD60,60;" + "PU200,200;PD300,300;",
       "200,200 100,100 50,50 0,0"},
      {"a slit from the outline inward", Square(0, 0, 400) + "PU0,200;PD100,200;", "0,200 0,0"},
  };
  for (const Case& c : cases) {
    Ordered o(c.job, InsideFirst());
    ASSERT_EQ(o.result, JOB_DONE) << c.what;
    EXPECT_EQ(o.Starts(), c.starts) << c.what;
  }
  // A job without drawing commands stays one: a placeholder, not a failure.
  Ordered empty("IN;SP1;", InsideFirst());
  EXPECT_EQ(empty.result, JOB_DONE);
  EXPECT_EQ(PointsText(empty.points), "E");
  // The touching triangle went first: its own path, not the square's.
  Ordered touching(Square(0, 0, 900) + "PU0,0;PD300,100;PD100,300;PD0,0;", InsideFirst());
  EXPECT_EQ(PathsOf(touching.points)[0], "U0,0 D300,100 D100,300 D0,0");
}

// A closed path of `corners` points on a circle of radius `radius` round the origin.
std::string Circle(int corners, double radius) {
  std::string text;
  for (int i = 0; i <= corners; ++i) {
    const double a = 2 * std::acos(-1.0) * (i % corners) / corners;
    text += (i == 0 ? "PU" : "PD") + std::to_string(static_cast<int>(radius * std::cos(a))) + "," +
            std::to_string(static_cast<int>(radius * std::sin(a))) + ";";
  }
  return text;
}

TEST(CutOrder, InsideFirstWorkGrowsWithThePoints) {
  // Held to a few steps a point, so that work growing with the square of the job fails here
  // by a count: listing every path around each path (2,000 nested squares), walking the
  // rest of an outline after a point was found on it or every point of a copy for every
  // point of the other (a circle drawn twice), or looking at every closed path for each
  // open one (2,000 letters side by side, a stroke in each counter).
  const int count = 2000;
  std::string nested, expected;
  for (int k = 0; k < count; ++k) {
    nested += Square(4 * k, 4 * k, 8 * (count - k));
    expected = std::to_string(4 * k) + "," + std::to_string(4 * k) + (expected.empty() ? "" : " ") + expected;
  }
  Ordered squares(nested, InsideFirst());
  ASSERT_EQ(squares.result, JOB_DONE);
  EXPECT_EQ(squares.Starts(), expected);  // innermost first
  EXPECT_LE(squares.steps, 8u * 5 * count) << "2,000 nested squares";

  const std::string circle = Circle(10000, 100000);
  Ordered doubled(circle + circle, InsideFirst());
  ASSERT_EQ(doubled.result, JOB_DONE);
  EXPECT_EQ(PathsOf(doubled.points), PathsOf(Ordered(circle + circle, CutOrder{}).points));
  EXPECT_LE(doubled.steps, 8u * 2 * 10001) << "a circle of 10,000 points drawn twice";

  std::string letters;
  expected.clear();
  for (int k = 0; k < count; ++k) {
    const int x = (k % 50) * 500, y = (k / 50) * 500;
    auto at = [](int px, int py) { return std::to_string(px) + "," + std::to_string(py); };
    letters += Square(x, y, 400) + Square(x + 100, y + 100, 200) + "PU" + at(x + 150, y + 150) + ";PD" +
               at(x + 250, y + 250) + ";";
    expected += (expected.empty() ? "" : " ") + at(x + 150, y + 150) + " " + at(x + 100, y + 100) + " " + at(x, y);
  }
  Ordered sheet(letters, InsideFirst());
  ASSERT_EQ(sheet.result, JOB_DONE);
  EXPECT_EQ(sheet.Starts(), expected);  // each stroke, its counter, its letter
  EXPECT_LE(sheet.steps, 8u * 12 * count) << "2,000 letters with a stroke in each counter";
}

// Random letters with counters and frames, shuffled, with open strokes among them.
struct RandomJob {
  explicit RandomJob(unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::vector<std::string> paths;
    for (int cell = 0; cell < 30; ++cell) {
      const int x = (cell % 6) * 1000, y = (cell / 6) * 1000;
      int margin = pick(0, 60), side = 900;
      const int depth = pick(1, 4);
      for (int level = 0; level < depth && side > 100; ++level) {
        // Starts at a random corner and goes either way round.
        const int corner = pick(0, 3);
        const bool clockwise = pick(0, 1) == 1;
        const int cx[4] = {x + margin, x + margin + side, x + margin + side, x + margin};
        const int cy[4] = {y + margin, y + margin, y + margin + side, y + margin + side};
        std::string path;
        for (int k = 0; k <= 4; ++k) {
          const int i = (corner + (clockwise ? 4 - k : k)) % 4;
          path += (k == 0 ? "PU" : "PD") + std::to_string(cx[i]) + "," + std::to_string(cy[i]) + ";";
        }
        boxes.push_back({x + margin, x + margin + side, y + margin + side, y + margin});
        paths.push_back(path);
        const int step = pick(20, 120);
        margin += step;
        side -= 2 * step;
      }
      if (pick(0, 2) == 0)
        paths.push_back("PU" + std::to_string(x + pick(0, 900)) + "," + std::to_string(y + pick(0, 900)) + ";PD" +
                        std::to_string(x + pick(0, 900)) + "," + std::to_string(y + pick(0, 900)) + ";");
    }
    std::shuffle(paths.begin(), paths.end(), random);
    for (const std::string& path : paths) text += path;
  }
  std::string text;
  std::vector<JobBounds> boxes;  // of the closed paths, as generated
};

// The box a closed path's text "U.. D.." covers.
JobBounds BoxOf(const std::string& path) {
  JobBounds box{INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX};
  for (size_t at = 0; at < path.size(); at = path.find(' ', at) + 1) {
    const int x = std::stoi(path.substr(at + 1)), y = std::stoi(path.substr(path.find(',', at) + 1));
    box = {std::min(box.minX, x), std::max(box.maxX, x), std::max(box.maxY, y), std::min(box.minY, y)};
    if (path.find(' ', at) == std::string::npos) break;
  }
  return box;
}

bool StrictlyWithin(const JobBounds& a, const JobBounds& b) {
  return a.minX > b.minX && a.maxX < b.maxX && a.minY > b.minY && a.maxY < b.maxY;
}

TEST(CutOrder, RandomNestedJobsKeepEveryPathAndCutInnerFirst) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const RandomJob job(seed);
    CutOrder insideOnly = InsideFirst(), both = InsideFirst(), travelOnly;
    both.shortestTravel = true;
    travelOnly.shortestTravel = true;
    Ordered drawing(job.text, CutOrder{}), inside(job.text, insideOnly), nearest(job.text, both),
        travel(job.text, travelOnly);
    std::vector<std::string> expected = PathsOf(drawing.points);
    std::sort(expected.begin(), expected.end());
    for (const Ordered* o : {&inside, &nearest, &travel}) {
      ASSERT_EQ(o->result, JOB_DONE);
      std::vector<std::string> paths = PathsOf(o->points);
      // Every path is cut, from its own start in its own direction.
      std::vector<std::string> sorted = paths;
      std::sort(sorted.begin(), sorted.end());
      EXPECT_EQ(sorted, expected) << "seed " << seed;
      if (o == &travel) continue;
      for (size_t i = 0; i < paths.size(); ++i)
        for (size_t j = 0; j < i; ++j) {
          if (paths[i].size() < 30 || paths[j].size() < 30) continue;  // open strokes
          EXPECT_FALSE(StrictlyWithin(BoxOf(paths[i]), BoxOf(paths[j])))
              << "seed " << seed << ": " << paths[i] << " cut after " << paths[j];
        }
    }
    const JobBounds& b = drawing.outBounds;
    const IntPoint origin{b.maxX, b.minY}, park{b.maxX, b.maxY};
    EXPECT_LE(PenUpTravel(travel.points, origin, park), PenUpTravel(drawing.points, origin, park)) << "seed " << seed;
    EXPECT_LE(PenUpTravel(nearest.points, origin, park), PenUpTravel(inside.points, origin, park)) << "seed " << seed;
  }
}

TEST(CutOrder, PassesRepeatEveryCutStraightAfterItself) {
  // A closed triangle goes round again; an open stroke goes back along itself, then on.
  CutOrder three;
  three.passes = 3;
  Ordered o("PU0,0;PD400,0;PD0,300;PD0,0;PU500,0;PD600,0;PD600,100;", three);
  ASSERT_EQ(o.result, JOB_DONE);
  EXPECT_EQ(PointsText(o.points),
            "U0,0 D400,0 D0,300 D0,0 D400,0 D0,300 D0,0 D400,0 D0,300 D0,0 "
            "U500,0 D600,0 D600,100 D600,0 D500,0 D600,0 D600,100");
  // In the job file the cut commands double exactly and the moves stay as they were.
  for (int dialect : {DialectHpgl, DialectDmpl}) {
    std::map<int, std::pair<size_t, size_t>> counts;  // passes -> (moves, cuts)
    for (int passes : {1, 2}) {
      TempDir dir;
      CPlotJob job;
      job.LoadJob(dir.Write("job.plt", "PU0,0;PD400,0;PD0,300;PD0,0;PU500,0;PD600,0;PD600,100;").c_str());
      CutOrder order;
      order.passes = passes;
      ASSERT_EQ(job.SetCutOrder(order), JOB_DONE);
      const std::string path = (dir.Path() / "job.hb").string();
      ASSERT_EQ(WriteJobFile(job, path.c_str(), {dialect, true}, {}), 1);
      const std::string bytes = TempDir::Read(path);
      const std::string up = dialect == DialectDmpl ? "U" : "PU", down = dialect == DialectDmpl ? "D" : "PD";
      auto count = [&](const std::string& word) {
        size_t n = 0;
        for (size_t at = bytes.find(word); at != std::string::npos; at = bytes.find(word, at + 1)) ++n;
        return n;
      };
      counts[passes] = {count(up), count(down)};
    }
    EXPECT_EQ(counts[2].first, counts[1].first);
    EXPECT_EQ(counts[2].second, 2 * counts[1].second);
  }
}

TEST(CutOrder, WeedBorderIsCutLastAndCountsInTheSize) {
  // One diagonal, a border 1 mm (40 units) out: the rectangle (-40,-40) to (440,440)
  // from its lower left corner anticlockwise; the job moves 40 units to the origin and is
  // 480 units each way. After merging, with the pair swapped as (y, 480 - x):
  //   U40,40 -> 40,440   D440,440 -> 440,40   U0,0 -> 0,480   D480,0 -> 0,0
  //   D480,480 -> 480,0  D0,480 -> 480,480    D0,0 -> 0,480   final pen-up (H, 0) -> 480,0
  const std::string body[] = {"PU40,440;PD440,40;PU0,480;PD0,0;PD480,0;PD480,480;PD0,480;PU480,0;SP0;@",
                              "U40,440 D440,40 U0,480 D0,0 D480,0 D480,480 D0,480 U480,0 @ "};
  for (int dialect : {DialectHpgl, DialectDmpl}) {
    TempDir dir;
    CPlotJob job;
    job.LoadJob(dir.Write("job.plt", "PU0,0;PD400,400;").c_str());
    CutOrder order;
    order.weedMargin = WeedMarginUnits(true, 1.0);
    ASSERT_EQ(job.SetCutOrder(order), JOB_DONE);
    EXPECT_EQ(job.WidthText() + " x " + job.HeightText(), "12.00 x 12.00");
    const std::string path = (dir.Path() / "job.hb").string();
    ASSERT_EQ(WriteJobFile(job, path.c_str(), {dialect, true}, {}), 1);
    EXPECT_EQ(TempDir::Read(path), StringsFor(dialect).header + body[dialect == DialectDmpl ? 1 : 0]);
  }
  EXPECT_EQ(WeedMarginUnits(true, 0.1), 20);    // brought up to 0.5 mm
  EXPECT_EQ(WeedMarginUnits(true, 1e9), 2000);  // and down to 50 mm
  EXPECT_EQ(WeedMarginUnits(false, 10.0), 0);
}

TEST(CutOrder, MirrorAndRotateKeepTheOrderOnTheNewGeometry) {
  TempDir dir;
  CPlotJob job;
  job.LoadJob(dir.Write("job.plt", Square(0, 0, 400) + Square(100, 100, 200)).c_str());
  CutOrder order = InsideFirst();
  order.weedMargin = 40;
  ASSERT_EQ(job.SetCutOrder(order), JOB_DONE);
  const std::string once = PointsText(job.m_pPoints);
  // Mirrored twice and turned round in full, the job is cut as before: the border is
  // built once on the geometry, never on a border already there.
  job.Mirror();
  job.Mirror();
  EXPECT_EQ(PointsText(job.m_pPoints), once);
  ASSERT_EQ(job.RotateTo(0), JOB_DONE);
  EXPECT_EQ(PointsText(job.m_pPoints), once);
  EXPECT_EQ(PathsOf(job.m_pPoints).size(), 3u);
  // Switched off again, the job is the drawing's.
  ASSERT_EQ(job.SetCutOrder(CutOrder{}), JOB_DONE);
  EXPECT_EQ(PointsText(job.m_pPoints), "U0,0 D400,0 D400,400 D0,400 D0,0 U100,100 D300,100 D300,300 D100,300 D100,100");
}

}  // namespace
