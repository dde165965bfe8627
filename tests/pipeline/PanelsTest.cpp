#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "pipeline/Geometry.h"
#include "pipeline/Panels.h"
#include "pipeline/PointListBuilder.h"

namespace {

const int MM = PLOT_UNITS_PER_MM;

typedef std::vector<IntPoint> Polyline;

// A point list of `paths`, each a move and its lines.
PointList ListOf(const std::vector<Polyline>& paths) {
  CPointListBuilder list;
  for (const Polyline& path : paths)
    for (size_t i = 0; i < path.size(); ++i) list.Add(i == 0 ? KIND_PEN_UP : KIND_PEN_DOWN, path[i]);
  return list.Take();
}

std::vector<Polyline> PathsOf(PointList points) {
  std::vector<Polyline> paths;
  for (const PlotPoint* p = points; p; p = p->next) {
    if (p->kind != KIND_PEN_UP && p->kind != KIND_PEN_DOWN) continue;
    if (p->kind == KIND_PEN_UP || paths.empty()) paths.emplace_back();
    paths.back().push_back(IntPoint{p->x, p->y});
  }
  return paths;
}

double Length(const Polyline& path) {
  double length = 0;
  for (size_t i = 1; i < path.size(); ++i)
    length +=
        std::hypot(static_cast<double>(path[i].x) - path[i - 1].x, static_cast<double>(path[i].y) - path[i - 1].y);
  return length;
}

// A closed rectangle, anticlockwise from its lower left corner (in millimetres).
Polyline Rectangle(int left, int bottom, int right, int top) {
  return {{left * MM, bottom * MM},
          {right * MM, bottom * MM},
          {right * MM, top * MM},
          {left * MM, top * MM},
          {left * MM, bottom * MM}};
}

PanelLayout Layout(int widthMm, int overlapMm, int gapMm) {
  return PanelLayout{widthMm * MM, overlapMm * MM, gapMm * MM};
}

// A job cut in panels: the paths of the result, the report and the result's bounds.
struct Panelled {
  Panelled(const std::vector<Polyline>& job, const PanelLayout& layout, const CutOrder& order = CutOrder{}) {
    PointList points = ListOf(job);
    JobBounds bounds;
    ComputeBounds(points, bounds);
    plan = PlanPanels(static_cast<int64_t>(bounds.maxX) - bounds.minX, layout, order.weedMargin);
    PointList out = nullptr;
    result = CutPanels(points, bounds, plan, layout, order, out, outBounds, &report);
    paths = PathsOf(out);
    FreePoints(points);
    FreePoints(out);
  }
  double Cut() const {
    double total = 0;
    for (const Polyline& path : paths) total += Length(path);
    return total;
  }
  PanelPlan plan;
  JobResult result = JOB_DONE;
  PanelReport report;
  JobBounds outBounds = {0, 0, 0, 0};
  std::vector<Polyline> paths;
};

// The panel count and width from the media width, the overlap and the weed border.
// Caught: a count rounded down or off by one where the job fits exactly, the border taken
// off once instead of on both sides, a width less the border that leaves nothing dividing
// by zero or less.
TEST(Panels, CountAndWidthFollowTheMediaLessTheBorder) {
  const struct {
    int jobWidth, media, overlap, margin;  // units
    int64_t count;
    double width;  // units
  } rows[] = {
      {310 * MM, 120 * MM, 10 * MM, 0, 3, 110 * MM},       // the frame: panels over 0-110, 100-210, 200-310
      {120 * MM, 120 * MM, 10 * MM, 0, 1, 120 * MM},       // fits exactly
      {121 * MM, 120 * MM, 10 * MM, 0, 2, 65.5 * MM},      // (121 + 10) / 2
      {110 * MM, 120 * MM, 10 * MM, 5 * MM, 1, 110 * MM},  // fits within 120 - 2 x 5
      {111 * MM, 120 * MM, 10 * MM, 5 * MM, 2, 60.5 * MM},
      {310 * MM, 120 * MM, 10 * MM, 5 * MM, 3, 110 * MM},  // ceil(300 / 100)
      {310 * MM, 120 * MM, 0, 0, 3, 310 * MM / 3.0},
      {2550 * MM, 50 * MM, 0, 0, 51, 50 * MM},
      {0, 120 * MM, 10 * MM, 0, 1, 0},
      {100 * MM, 50 * MM, 10 * MM, 25 * MM, 90 * MM,
       (100 * MM + (90 * MM - 1) * 10.0 * MM) / (90 * MM)},  // 50 - 2 x 25 leaves no width
  };
  for (const auto& row : rows) {
    const PanelPlan plan = PlanPanels(row.jobWidth, PanelLayout{row.media, row.overlap, 0}, row.margin);
    EXPECT_EQ(plan.count, row.count) << row.jobWidth << " in " << row.media;
    EXPECT_NEAR(plan.width, row.width, 1e-6) << row.jobWidth << " in " << row.media;
  }
  // Off: one panel however wide the job.
  EXPECT_EQ(PlanPanels(310 * MM, PanelLayout{}, 0).count, 1);
  const PanelPlan frame = PlanPanels(310 * MM, Layout(120, 10, 20), 0);
  EXPECT_EQ(frame.Left(1), 100 * MM);
  EXPECT_EQ(frame.Right(1), 210 * MM);
  EXPECT_EQ(frame.Right(2), 310 * MM);
}

// The figures worked by hand: the 310 x 50 mm frame with a 5 mm wall and a plain
// rectangle, on 120 mm media with 10 mm overlap and 20 mm gap; an open line; a panel with
// nothing to cut; each panel's own weed border. Caught: pieces not joined along the
// panel's edge (the frame's end would be two open pieces), new edges across the counter
// (a cut at x = 110 from 5 to 45), panels placed by the wrong step or not back to the
// left edge, an empty panel kept or not counted, a border round the whole job or a gap
// that ignores it.
TEST(Panels, HandWorkedJobs) {
  const std::vector<Polyline> frame = {Rectangle(0, 0, 310, 50), Rectangle(5, 5, 305, 45)};
  CutOrder border;
  border.weedMargin = 5 * MM;
  const struct {
    const char* what;
    std::vector<Polyline> job;
    CutOrder order;
    size_t paths;
    double cutMm, widthMm, heightMm;
    int64_t empty;
  } rows[] = {
      {"frame", frame, CutOrder{}, 4, 1520, 110, 190, 0},
      {"rectangle", {Rectangle(0, 0, 310, 50)}, CutOrder{}, 3, 960, 110, 190, 0},
      // A line has no extent along the roll: the panels lie 20 mm apart.
      {"line", {{{0, 25 * MM}, {310 * MM, 25 * MM}}}, CutOrder{}, 3, 330, 110, 40, 0},
      // Panels 0-110 and 200-310 hold the squares, 100-210 nothing: the third panel
      // takes the second's place.
      {"empty middle", {Rectangle(0, 0, 50, 50), Rectangle(260, 0, 310, 50)}, CutOrder{}, 2, 400, 110, 120, 1},
      // 120 less 2 x 5 mm: still three panels of 110; each with its border 120 x 60,
      // 20 mm apart: 120 x 220 mm, and 3 x 360 mm of border.
      {"frame, weed border", frame, border, 7, 1520 + 3 * 360, 120, 220, 0},
  };
  for (const auto& row : rows) {
    const Panelled p(row.job, Layout(120, 10, 20), row.order);
    ASSERT_EQ(p.result, JOB_DONE) << row.what;
    EXPECT_EQ(p.paths.size(), row.paths) << row.what;
    EXPECT_NEAR(p.Cut(), row.cutMm * MM, 1e-6) << row.what;
    EXPECT_EQ(p.outBounds.maxX - p.outBounds.minX, row.widthMm * MM) << row.what;
    EXPECT_EQ(p.outBounds.maxY - p.outBounds.minY, row.heightMm * MM) << row.what;
    EXPECT_EQ(p.report.empty, row.empty) << row.what;
    EXPECT_EQ(p.report.plan.count, 3) << row.what;
  }

  // The frame's panels: the end pieces of 530 mm, the middle two rectangles of 230.
  const Panelled p(frame, Layout(120, 10, 20));
  ASSERT_EQ(p.paths.size(), 4u);
  const double lengths[] = {530, 230, 230, 530};
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(Length(p.paths[i]), lengths[i] * MM, 1e-6) << i;
  // Along x = 110 the first panel cuts from y 0 to 5 and 45 to 50, nothing between.
  double onEdge = 0;
  const Polyline& first = p.paths[0];
  for (size_t i = 1; i < first.size(); ++i) {
    if (first[i].x != 110 * MM || first[i - 1].x != 110 * MM) continue;
    const int low = std::min(first[i].y, first[i - 1].y), high = std::max(first[i].y, first[i - 1].y);
    EXPECT_TRUE((low == 0 && high == 5 * MM) || (low == 45 * MM && high == 50 * MM)) << low << "-" << high;
    onEdge += high - low;
  }
  EXPECT_EQ(onEdge, 10 * MM);
  // The first piece is closed, and the third panel lies at 140 mm along the roll.
  EXPECT_TRUE(first.front().x == first.back().x && first.front().y == first.back().y);
  EXPECT_EQ(p.paths[3].front().y >= 140 * MM, true);
}

// More than 50 panels are refused with the count and the width. Caught: a count past the
// limit cut anyway.
TEST(Panels, TooManyPanelsRefused) {
  PointList points = ListOf({Rectangle(0, 0, 2550, 10)});
  JobBounds bounds;
  ComputeBounds(points, bounds);
  const PanelPlan plan = PlanPanels(bounds.maxX, Layout(50, 0, 0), 0);
  PointList out = nullptr;
  JobBounds outBounds;
  EXPECT_EQ(CutPanels(points, bounds, plan, Layout(50, 0, 0), CutOrder{}, out, outBounds), JOB_TOO_MANY_PANELS);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(PanelCountProblem(plan), "51 panels of 50.00 mm: is the media width right?");
  EXPECT_EQ(PanelCountProblem(PlanPanels(bounds.maxX, Layout(51, 0, 0), 0)), "");
  FreePoints(points);
}

// The texts: caught a width printed with trailing zeros ("120.000 mm"), the extent
// without its two decimals, a job exactly as wide as the media refused.
TEST(Panels, MediaWidthAndPanelTexts) {
  EXPECT_EQ(MediaWidthProblem(JobBounds{0, 310 * MM, 50 * MM, 0}, 120 * MM),
            "the job is 310.00 mm across the roll, wider than the media (120 mm): turn it (--rotate 90) or cut it in "
            "panels (--panels)");
  EXPECT_EQ(MediaWidthProblem(JobBounds{0, 121 * MM, 50 * MM, 0}, 4810),
            "the job is 121.00 mm across the roll, wider than the media (120.25 mm): turn it (--rotate 90) or cut it "
            "in panels (--panels)");
  EXPECT_EQ(MediaWidthProblem(JobBounds{0, 120 * MM, 50 * MM, 0}, 120 * MM), "");
  EXPECT_EQ(MediaWidthProblem(JobBounds{0, 310 * MM, 50 * MM, 0}, 0), "");
  PanelReport report;
  report.plan = PlanPanels(310 * MM, Layout(120, 10, 20), 0);
  EXPECT_EQ(PanelText(report), "3 of 110.00 mm across the roll, overlap 10.00 mm");
  report.empty = 1;
  EXPECT_EQ(PanelText(report), "3 (1 empty, left out) of 110.00 mm across the roll, overlap 10.00 mm");
}

// ---- Random nested jobs ----

double DistanceToSegment(double px, double py, IntPoint a, IntPoint b) {
  const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / length2 : 0;
  t = std::min(1.0, std::max(0.0, t));
  return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

// Inside the closed paths by the even-odd rule.
bool Filled(double px, double py, const std::vector<Polyline>& closed) {
  bool inside = false;
  for (const Polyline& path : closed)
    for (size_t i = 0; i < path.size(); ++i) {
      const IntPoint a = path[i], b = path[(i + 1) % path.size()];
      if ((a.y > py) != (b.y > py) && px < a.x + (py - a.y) * (static_cast<double>(b.x) - a.x) / (b.y - a.y))
        inside = !inside;
    }
  return inside;
}

double DistanceToPaths(double px, double py, const std::vector<Polyline>& paths) {
  double best = 1e300;
  for (const Polyline& path : paths)
    for (size_t i = 1; i < path.size(); ++i) best = std::min(best, DistanceToSegment(px, py, path[i - 1], path[i]));
  return best;
}

// A star-shaped ring of `corners` points round (cx, cy), each at a random radius up to
// `radius`, on a grid of `grid` units (so that corners land on panel edges), closed.
Polyline Ring(std::mt19937& random, int cx, int cy, int radius, int corners, int grid) {
  Polyline ring;
  for (int i = 0; i < corners; ++i) {
    const double a = 2 * std::acos(-1.0) * i / corners;
    const double r = radius * (0.3 + 0.7 * (random() % 1000) / 1000.0);
    ring.push_back(IntPoint{(cx + static_cast<int>(r * std::cos(a))) / grid * grid,
                            (cy + static_cast<int>(r * std::sin(a))) / grid * grid});
  }
  ring.push_back(ring.front());
  return ring;
}

// Random jobs: a frame round everything (so that every panel cuts from its corner and
// nothing is left out), rings nested in rings and overlapping each other, and open lines,
// on a coarse grid half the time, cut on random media with a random overlap. Every cut lies
// on an original outline or on a panel's edge inside the filled area; the panels, moved
// back, cover every original cut; no panel is wider than the media.
// Caught: a piece joined to the wrong end along an edge (a cut across a hole or outside
// the shape), a part lost where a corner lies on an edge or an outline runs along it, a
// crossing rounded the wrong way, a panel placed or moved back wrong.
TEST(Panels, RandomNestedJobsCutOnlyAlongOutlinesAndFilledEdges) {
  std::mt19937 random(44);
  int split = 0;
  for (int job = 0; job < 150; ++job) {
    // On the grid, the job less the overlap is a multiple of 12 cells, so that the edges of
    // 2, 3, 4 or 6 panels lie on the grid too, through the corners.
    const int grid = job % 2 ? 400 : 1;
    const int32_t overlap = static_cast<int32_t>(random() % 800) / grid * grid;
    const int width = grid > 1 ? overlap + 12 * grid * (1 + static_cast<int>(random() % 4))
                               : 2000 + static_cast<int>(random() % 20000);
    const int height = 2000 + static_cast<int>(random() % 8000);
    std::vector<Polyline> paths = {{{0, 0}, {width, 0}, {width, height}, {0, height}, {0, 0}}};
    const int shapes = 1 + static_cast<int>(random() % 6);
    for (int s = 0; s < shapes; ++s) {
      const int radius = 400 + static_cast<int>(random() % (std::min(width, height) / 2 - 400));
      const int cx = radius + static_cast<int>(random() % std::max(1, width - 2 * radius));
      const int cy = radius + static_cast<int>(random() % std::max(1, height - 2 * radius));
      const int depth = 1 + static_cast<int>(random() % 3);
      for (int d = 0; d < depth; ++d)
        paths.push_back(Ring(random, cx, cy, radius * (depth - d) / depth, 3 + static_cast<int>(random() % 8), grid));
    }
    for (int l = 0; l < 2; ++l) {
      Polyline line;
      for (int i = 0; i < 4; ++i)
        line.push_back(IntPoint{static_cast<int>(random() % width) / grid * grid,
                                static_cast<int>(random() % height) / grid * grid});
      paths.push_back(line);
    }
    const int32_t media = overlap + 400 + static_cast<int32_t>(random() % width) / grid * grid;
    const PanelLayout layout = {media, overlap, 1 + static_cast<int32_t>(random() % 800)};
    const Panelled p(paths, layout);
    const std::string label = "job " + std::to_string(job);
    if (p.plan.count > MAX_PANELS) continue;
    if (p.plan.count > 1) ++split;
    ASSERT_EQ(p.result, JOB_DONE) << label;
    ASSERT_EQ(p.report.empty, 0) << label;
    std::vector<Polyline> closed;
    for (const Polyline& path : paths)
      if (path.front().x == path.back().x && path.front().y == path.back().y) closed.push_back(path);
    // The panels moved back, each a list of its paths.
    const int64_t along = height + layout.gap;
    std::vector<std::vector<Polyline>> panels(static_cast<size_t>(p.plan.count));
    for (const Polyline& path : p.paths) {
      const int64_t k = path.front().y / along;
      ASSERT_LT(k, p.plan.count) << label;
      Polyline back;
      for (const IntPoint& q : path) {
        EXPECT_LE(q.x, media) << label;
        back.push_back(IntPoint{static_cast<int32_t>(q.x + p.plan.Left(k)), static_cast<int32_t>(q.y - k * along)});
      }
      panels[static_cast<size_t>(k)].push_back(back);
    }
    for (int64_t k = 0; k < p.plan.count; ++k) {
      const int64_t left = p.plan.Left(k), right = p.plan.Right(k);
      EXPECT_LE(right - left, media) << label;
      for (const Polyline& path : panels[static_cast<size_t>(k)])
        for (size_t i = 1; i < path.size(); ++i) {
          const IntPoint a = path[i - 1], b = path[i];
          bool onOutline = false;
          for (const Polyline& original : paths)
            for (size_t j = 1; j < original.size() && !onOutline; ++j)
              onOutline = DistanceToSegment(a.x, a.y, original[j - 1], original[j]) <= 1 &&
                          DistanceToSegment(b.x, b.y, original[j - 1], original[j]) <= 1;
          if (onOutline) continue;
          const double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
          const bool onEdge = a.x == b.x && (a.x == left || a.x == right);
          EXPECT_TRUE(onEdge && (Filled(mx, my, closed) || DistanceToPaths(mx, my, closed) <= 1))
              << label << ", panel " << k << ": " << a.x << "," << a.y << " to " << b.x << "," << b.y;
        }
    }
    // Every original cut is cut by a panel that holds it (a corner that only touches a
    // panel's edge is cut by the panel beside it).
    for (const Polyline& original : paths)
      for (size_t j = 1; j < original.size(); ++j)
        for (double t : {0.0, 0.3, 0.5, 0.7, 1.0}) {
          const double x = original[j - 1].x + t * (original[j].x - original[j - 1].x);
          const double y = original[j - 1].y + t * (original[j].y - original[j - 1].y);
          double nearest = 1e300;
          for (int64_t k = 0; k < p.plan.count; ++k)
            if (x >= p.plan.Left(k) && x <= p.plan.Right(k))
              nearest = std::min(nearest, DistanceToPaths(x, y, panels[static_cast<size_t>(k)]));
          EXPECT_LE(nearest, 1.5) << label << ": " << x << "," << y;
        }
  }
  EXPECT_GT(split, 100);  // most jobs are cut in panels
}

}  // namespace
