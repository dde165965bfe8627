#include "pipeline/Panels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include "pipeline/Geometry.h"
#include "pipeline/PointListBuilder.h"
#include "pipeline/SizeText.h"

PanelPlan PlanPanels(int64_t jobWidth, const PanelLayout& layout, int32_t weedMargin) {
  PanelPlan plan;
  plan.jobWidth = jobWidth;
  plan.width = static_cast<double>(jobWidth);
  if (layout.IsOff()) return plan;
  plan.overlap = std::max(layout.overlap, 0);  // panels apart would leave cuts out
  const int64_t usable = static_cast<int64_t>(layout.mediaWidth) - 2 * static_cast<int64_t>(std::max(weedMargin, 0));
  const int64_t step = std::max<int64_t>(usable - plan.overlap, 1);
  const int64_t beyond = jobWidth - plan.overlap;
  plan.count = beyond > 0 ? (beyond + step - 1) / step : 1;
  plan.width = (static_cast<double>(jobWidth) + static_cast<double>(plan.count - 1) * plan.overlap) /
               static_cast<double>(plan.count);
  return plan;
}

namespace {

// A path of the job that cuts something, as its points.
struct Path {
  std::vector<IntPoint> points;
  JobBounds box = {0, 0, 0, 0};
  bool closed = false;
};

bool Same(IntPoint a, IntPoint b) { return a.x == b.x && a.y == b.y; }

bool CutsSomething(const std::vector<IntPoint>& points) {
  for (const IntPoint& p : points)
    if (!Same(p, points.front())) return true;
  return false;
}

// The paths of `points` that cut something, in the drawing's order. A path without a move
// (lines first in the list) is taken from its first point.
std::vector<Path> ReadPaths(PointList points) {
  std::vector<Path> paths;
  bool hasMove = false;
  auto finish = [&]() {
    if (paths.empty()) return;
    Path& path = paths.back();
    if (!CutsSomething(path.points)) {
      paths.pop_back();
      return;
    }
    const IntPoint first = path.points.front();
    path.box = JobBounds{first.x, first.x, first.y, first.y};
    for (const IntPoint& p : path.points) {
      path.box.minX = std::min(path.box.minX, p.x);
      path.box.maxX = std::max(path.box.maxX, p.x);
      path.box.minY = std::min(path.box.minY, p.y);
      path.box.maxY = std::max(path.box.maxY, p.y);
    }
    path.closed = hasMove && IsClosedPath(first, path.points.back(), static_cast<int64_t>(path.points.size()));
  };
  for (const PlotPoint* p = points; p; p = p->next) {
    if (p->kind != KIND_PEN_UP && p->kind != KIND_PEN_DOWN) continue;
    if (p->kind == KIND_PEN_UP || paths.empty()) {
      finish();
      paths.emplace_back();
      hasMove = p->kind == KIND_PEN_UP;
    }
    paths.back().points.push_back(IntPoint{p->x, p->y});
  }
  finish();
  return paths;
}

// A panel's strip: x from `left` to `right`, both included.
struct Strip {
  int64_t left, right;
  // -1 left of the strip, 0 in it or on an edge, 1 right of it.
  int Zone(IntPoint p) const { return p.x < left ? -1 : p.x > right ? 1 : 0; }
  int64_t Edge(int side) const { return side < 0 ? left : right; }
};

// Where the edge a-b meets the vertical line at `x`, its y rounded to the nearest unit;
// worked out from the end of lower x, so that an edge drawn twice, once each way, gives
// the same point.
IntPoint Crossing(IntPoint a, IntPoint b, int64_t x) {
  if (a.x > b.x) std::swap(a, b);
  const double t = (static_cast<double>(x) - a.x) / (static_cast<double>(b.x) - a.x);
  const double y = a.y + t * (static_cast<double>(b.y) - a.y);
  return IntPoint{static_cast<int32_t>(x), TruncToCoord(std::floor(y + 0.5))};
}

// A part of a path inside a strip, and which edge of it each end lies on.
struct Fragment {
  size_t source = 0;  // the path's place in the drawing
  std::vector<IntPoint> points;
  int startSide = 0, endSide = 0;  // -1 the left edge, 1 the right, 0 neither (an open path's end)
};

// Appends to `out` the parts of `path` (which crosses an edge of `strip`) inside the strip.
// A closed path is walked round from a point outside, so that no part wraps past its end.
void Clip(const Path& path, size_t source, const Strip& strip, std::vector<Fragment>& out) {
  const std::vector<IntPoint>& p = path.points;
  const size_t n = p.size();
  size_t first = 0;
  if (path.closed)
    while (first + 1 < n && strip.Zone(p[first]) == 0) ++first;
  auto add = [&](IntPoint q) {
    std::vector<IntPoint>& points = out.back().points;
    if (points.empty() || !Same(points.back(), q)) points.push_back(q);
  };
  auto begin = [&](int side) {
    out.emplace_back();
    out.back().source = source;
    out.back().startSide = side;
  };
  if (!path.closed && strip.Zone(p[0]) == 0) {
    begin(0);
    add(p[0]);
  }
  const size_t edges = path.closed ? n : n - 1;
  for (size_t i = 0; i < edges; ++i) {
    const IntPoint a = p[(first + i) % n], b = p[(first + i + 1) % n];
    const int za = strip.Zone(a), zb = strip.Zone(b);
    if (za != 0 && za == zb) continue;
    if (za != 0) {
      begin(za);
      add(Crossing(a, b, strip.Edge(za)));
    }
    if (zb != 0) {
      add(Crossing(a, b, strip.Edge(zb)));
      out.back().endSide = zb;
    } else {
      add(b);
    }
  }
}

// A path of a panel, closed or open, and the place in the drawing of the path it begins in.
struct Piece {
  size_t source;
  std::vector<IntPoint> points;
};

void Append(std::vector<IntPoint>& points, IntPoint q) {
  if (points.empty() || !Same(points.back(), q)) points.push_back(q);
}

// Joins the parts of the closed paths inside a strip into closed pieces. Along each edge of
// the strip the parts' ends are sorted, and the first is joined to the second, the third to
// the fourth and so on: by the even-odd rule the filled area meets the edge between them.
// Each end then has one part and one join, so the walk from a part's start comes back to it.
void Join(const std::vector<Fragment>& fragments, std::vector<Piece>& pieces) {
  // End 2f is the start of fragment f, 2f + 1 its end. An end without a partner (there is
  // none when every path is closed) is its own, and the walk turns back along its part.
  std::vector<size_t> partner(2 * fragments.size());
  for (size_t e = 0; e < partner.size(); ++e) partner[e] = e;
  auto at = [&](size_t e) {
    const std::vector<IntPoint>& points = fragments[e / 2].points;
    return e % 2 ? points.back() : points.front();
  };
  for (int side : {-1, 1}) {
    std::vector<size_t> ends;
    for (size_t f = 0; f < fragments.size(); ++f) {
      if (fragments[f].startSide == side) ends.push_back(2 * f);
      if (fragments[f].endSide == side) ends.push_back(2 * f + 1);
    }
    std::sort(ends.begin(), ends.end(),
              [&](size_t a, size_t b) { return at(a).y != at(b).y ? at(a).y < at(b).y : a < b; });
    for (size_t i = 0; i + 1 < ends.size(); i += 2) {
      partner[ends[i]] = ends[i + 1];
      partner[ends[i + 1]] = ends[i];
    }
  }
  std::vector<bool> used(fragments.size(), false);
  for (size_t f = 0; f < fragments.size(); ++f) {
    if (used[f]) continue;
    Piece piece = {fragments[f].source, {}};
    size_t from = 2 * f;  // the end by which the walk enters a part
    do {
      used[from / 2] = true;
      const std::vector<IntPoint>& points = fragments[from / 2].points;
      if (from % 2 == 0) {
        for (const IntPoint& q : points) Append(piece.points, q);
      } else {
        for (size_t i = points.size(); i-- > 0;) Append(piece.points, points[i]);
      }
      from = partner[from ^ 1];
    } while (from != 2 * f);
    Append(piece.points, fragments[f].points.front());
    if (CutsSomething(piece.points)) pieces.push_back(std::move(piece));
  }
}

// The pieces of `paths` in `strip`, in the drawing's order of the paths they begin in.
std::vector<Piece> CutStrip(const std::vector<Path>& paths, const Strip& strip) {
  std::vector<Piece> pieces;
  std::vector<Fragment> closedParts, lines;
  for (size_t s = 0; s < paths.size(); ++s) {
    const Path& path = paths[s];
    if (path.box.maxX < strip.left || path.box.minX > strip.right) continue;
    if (path.box.minX >= strip.left && path.box.maxX <= strip.right) {
      pieces.push_back(Piece{s, path.points});
    } else if (path.closed) {
      Clip(path, s, strip, closedParts);
    } else {
      lines.clear();
      Clip(path, s, strip, lines);
      for (Fragment& line : lines)
        if (CutsSomething(line.points)) pieces.push_back(Piece{s, std::move(line.points)});
    }
  }
  Join(closedParts, pieces);
  std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.source < b.source; });
  return pieces;
}

void AddPieces(CPointListBuilder& list, const std::vector<Piece>& pieces, int64_t dx, int64_t dy) {
  for (const Piece& piece : pieces)
    for (size_t i = 0; i < piece.points.size(); ++i)
      list.Add(i == 0 ? KIND_PEN_UP : KIND_PEN_DOWN,
               IntPoint{ClampToCoord(piece.points[i].x + dx), ClampToCoord(piece.points[i].y + dy)});
}

// Adds to `list` the panel of `pieces` (over x from `left`, y from `bottom`, `width` by
// `height`) cut in `order`, its lower left corner moved to (0, `dy`).
JobResult AddPanel(CPointListBuilder& list, const std::vector<Piece>& pieces, int64_t left, int64_t bottom,
                   int32_t width, int32_t height, const CutOrder& order, int64_t dy) {
  if (order.IsOff()) {
    AddPieces(list, pieces, -left, dy - bottom);
    return JOB_DONE;
  }
  CPointListBuilder own;
  AddPieces(own, pieces, -left, -bottom);
  PointList panel = own.Take();
  if (!panel) return JOB_NO_MEMORY;
  JobBounds content = {0, 0, 0, 0}, orderedBounds = {0, 0, 0, 0};
  ComputeBounds(panel, content);
  PointList ordered = nullptr;
  const JobResult result = OrderCuts(panel, JobBounds{0, width, height, 0}, order, ordered, orderedBounds);
  FreePoints(panel);
  if (result != JOB_DONE) return result;
  // The ordered panel comes back at the origin: from the corner of its border, which lies
  // round the panel's rectangle, or else from the corner of what it cuts.
  const bool border = order.weedMargin > 0;
  const int64_t x = border ? -order.weedMargin : content.minX;
  const int64_t y = border ? -order.weedMargin : content.minY;
  for (const PlotPoint* p = ordered; p; p = p->next)
    if (p->kind == KIND_PEN_UP || p->kind == KIND_PEN_DOWN)
      list.Add(p->kind, IntPoint{ClampToCoord(p->x + x), ClampToCoord(p->y + y + dy)});
  FreePoints(ordered);
  return JOB_DONE;
}

// A distance in plotter units as millimetres without trailing zeros: 4800 gives "120",
// 4810 "120.25".
std::string ShortMillimetres(int32_t units) {
  char text[32];
  snprintf(text, sizeof text, "%.3f", units / static_cast<double>(PLOT_UNITS_PER_MM));
  std::string s = text;
  s.erase(s.find_last_not_of('0') + 1);
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

JobResult CutPanels(PointList points, const JobBounds& bounds, const PanelPlan& plan, const PanelLayout& layout,
                    const CutOrder& order, PointList& out, JobBounds& outBounds, PanelReport* report) {
  out = nullptr;
  if (plan.count > MAX_PANELS) return JOB_TOO_MANY_PANELS;
  const int passes = std::min(std::max(order.passes, MIN_PASSES), MAX_PASSES);
  const int64_t margin = std::max(order.weedMargin, 0);
  const int64_t height = static_cast<int64_t>(bounds.maxY) - bounds.minY;
  const int64_t along = height + 2 * margin + std::max(layout.gap, 0);
  // The panels, one after another along the roll, must fit the coordinates.
  if ((plan.count - 1) * along + height + 2 * margin > INT32_MAX) return JOB_TOO_LARGE;
  PanelReport done;
  done.plan = plan;
  CPointListBuilder list;
  try {
    const std::vector<Path> paths = ReadPaths(points);
    int64_t total = 1;  // the list's end
    int64_t placed = 0;
    for (int64_t k = 0; k < plan.count; ++k) {
      const Strip strip = {bounds.minX + plan.Left(k), bounds.minX + plan.Right(k)};
      const std::vector<Piece> pieces = CutStrip(paths, strip);
      if (pieces.empty()) {
        ++done.empty;
        continue;
      }
      total += 6 * passes;  // a weed border
      for (const Piece& piece : pieces) total += 1 + static_cast<int64_t>(piece.points.size() - 1) * passes;
      if (total > MAX_JOB_POINTS) return JOB_TOO_LARGE;
      const JobResult added =
          AddPanel(list, pieces, strip.left, bounds.minY, static_cast<int32_t>(strip.right - strip.left),
                   static_cast<int32_t>(height), order, placed * along);
      if (added != JOB_DONE) return added;
      ++placed;
    }
  } catch (const std::bad_alloc&) {
    return JOB_NO_MEMORY;
  }
  out = list.Take();
  if (!out) return JOB_NO_MEMORY;
  ComputeBounds(out, outBounds);
  TransformPoints(out, OriginTranslation(outBounds), outBounds);
  if (report) *report = done;
  return JOB_DONE;
}

std::string PanelCountProblem(const PanelPlan& plan) {
  if (plan.count <= MAX_PANELS) return "";
  return std::to_string(plan.count) + " panels of " + MillimetreText(llround(plan.width)) +
         " mm: is the media width right?";
}

std::string PanelText(const PanelReport& report) {
  const std::string empty =
      report.empty > 0 ? " (" + std::to_string(report.empty) + " empty, left out)" : std::string();
  return std::to_string(report.plan.count) + empty + " of " + MillimetreText(llround(report.plan.width)) +
         " mm across the roll, overlap " + MillimetreText(report.plan.overlap) + " mm";
}

std::string MediaWidthProblem(const JobBounds& bounds, int32_t mediaWidth) {
  const int64_t extent = static_cast<int64_t>(bounds.maxX) - bounds.minX;
  if (mediaWidth <= 0 || extent <= mediaWidth) return "";
  return "the job is " + MillimetreText(extent) + " mm across the roll, wider than the media (" +
         ShortMillimetres(mediaWidth) + " mm): turn it (--rotate 90) or cut it in panels (--panels)";
}
