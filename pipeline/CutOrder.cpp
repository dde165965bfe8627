#include "pipeline/CutOrder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <queue>
#include <vector>

#include "pipeline/PipelineRoutines.h"

int32_t WeedMarginUnits(bool ticked, double millimetres) {
  if (!ticked) return 0;
  // NaN fails both comparisons and takes the smallest margin.
  const double mm = millimetres <= MAX_WEED_MARGIN_MM ? std::max(millimetres, MIN_WEED_MARGIN_MM) : MAX_WEED_MARGIN_MM;
  return TruncToCoord(mm * PLOT_UNITS_PER_MM);
}

namespace {

const size_t NONE = static_cast<size_t>(-1);

double Distance(IntPoint a, IntPoint b) {
  const double dx = static_cast<double>(static_cast<int64_t>(b.x) - a.x);
  const double dy = static_cast<double>(static_cast<int64_t>(b.y) - a.y);
  return std::sqrt(dx * dx + dy * dy);
}

bool IsDrawn(const PlotPoint* p) { return p->kind == KIND_PEN_UP || p->kind == KIND_PEN_DOWN; }

// One path of the job: its move (when it has one) and the lines after it.
struct PathSpan {
  const PlotPoint* first = nullptr;  // its move, or its first line when it has no move
  size_t count = 0;                  // moves and lines, placeholders not counted
  IntPoint start = {0, 0};
  IntPoint last = {0, 0};
  JobBounds box = {0, 0, 0, 0};
  bool hasMove = false;
  bool closed = false;
};

// Calls `visit` with each move and line of `span`, in order.
template <typename Visit>
void ForEachPoint(const PathSpan& span, Visit visit) {
  size_t seen = 0;
  for (const PlotPoint* p = span.first; p && seen < span.count; p = p->next) {
    if (!IsDrawn(p)) continue;
    visit(IntPoint{p->x, p->y});
    ++seen;
  }
}

std::vector<PathSpan> SplitPaths(PointList points) {
  std::vector<PathSpan> spans;
  for (const PlotPoint* p = points; p; p = p->next) {
    if (!IsDrawn(p)) continue;
    const IntPoint at = {p->x, p->y};
    if (p->kind == KIND_PEN_UP || spans.empty()) {
      PathSpan span;
      span.first = p;
      span.hasMove = p->kind == KIND_PEN_UP;
      span.start = at;
      span.box = JobBounds{at.x, at.x, at.y, at.y};
      spans.push_back(span);
    }
    PathSpan& span = spans.back();
    ++span.count;
    span.last = at;
    span.box.minX = std::min(span.box.minX, at.x);
    span.box.maxX = std::max(span.box.maxX, at.x);
    span.box.minY = std::min(span.box.minY, at.y);
    span.box.maxY = std::max(span.box.maxY, at.y);
  }
  for (PathSpan& span : spans)
    span.closed = span.hasMove && span.count >= 3 &&
                  llabs(static_cast<int64_t>(span.last.x) - span.start.x) <= CLOSED_GAP &&
                  llabs(static_cast<int64_t>(span.last.y) - span.start.y) <= CLOSED_GAP;
  return spans;
}

// Where the pen is after the span's last pass: an open path cut an even number of times
// ends where it began.
IntPoint EndAfterPasses(const PathSpan& span, int passes) {
  return span.closed || passes % 2 == 1 ? span.last : span.start;
}

bool Within(const JobBounds& inner, const JobBounds& outer) {
  return inner.minX >= outer.minX && inner.maxX <= outer.maxX && inner.minY >= outer.minY && inner.maxY <= outer.maxY;
}

enum Side { SIDE_OUTSIDE, SIDE_INSIDE, SIDE_ON };

// Where `q` lies against the polygon of `span`'s points (closed by the edge back to its
// first point), by the even-odd rule. Products of coordinate differences are exact in
// double for jobs under 1.6 km across.
Side SideOf(IntPoint q, const PathSpan& span) {
  bool inside = false;
  bool on = false;
  IntPoint a = span.last;
  ForEachPoint(span, [&](IntPoint b) {
    if (on) return;
    const double cross = static_cast<double>(static_cast<int64_t>(b.x) - a.x) * (static_cast<int64_t>(q.y) - a.y) -
                         static_cast<double>(static_cast<int64_t>(b.y) - a.y) * (static_cast<int64_t>(q.x) - a.x);
    if (cross == 0 && q.x >= std::min(a.x, b.x) && q.x <= std::max(a.x, b.x) && q.y >= std::min(a.y, b.y) &&
        q.y <= std::max(a.y, b.y)) {
      on = true;
      return;
    }
    if ((a.y > q.y) != (b.y > q.y)) {
      const bool upward = b.y > a.y;
      if (upward ? cross > 0 : cross < 0) inside = !inside;
    }
    a = b;
  });
  if (on) return SIDE_ON;
  return inside ? SIDE_INSIDE : SIDE_OUTSIDE;
}

// Whether closed path `inner` lies inside closed path `outer` (their bounds already nest).
bool LiesInside(const PathSpan& inner, const PathSpan& outer) {
  Side decided = SIDE_ON;
  size_t seen = 0;
  for (const PlotPoint* p = inner.first; p && seen < inner.count && decided == SIDE_ON; p = p->next) {
    if (!IsDrawn(p)) continue;
    ++seen;
    decided = SideOf(IntPoint{p->x, p->y}, outer);
  }
  return decided == SIDE_INSIDE;
}

// A run of paths in the drawing's order that is cut as one: a closed path with the open
// paths nearest to it, or, in a job without closed paths, one open path.
struct CutUnit {
  size_t begin = 0, end = 0;  // spans [begin, end)
  size_t anchor = NONE;       // its closed span
  IntPoint start = {0, 0}, finish = {0, 0};
};

// A square grid over a box, each cell listing the items registered in it.
class CGrid {
 public:
  CGrid(const JobBounds& box, size_t items) : m_box(box) {
    const double width = static_cast<double>(static_cast<int64_t>(box.maxX) - box.minX) + 1;
    const double height = static_cast<double>(static_cast<int64_t>(box.maxY) - box.minY) + 1;
    const double cells = std::max<double>(1, static_cast<double>(items) / 2);
    m_fCell = std::max(1.0, std::sqrt(width * height / cells));
    while ((std::floor(width / m_fCell) + 1) * (std::floor(height / m_fCell) + 1) > 4 * cells + 64) m_fCell *= 2;
    m_nColumns = static_cast<int>(width / m_fCell) + 1;
    m_nRows = static_cast<int>(height / m_fCell) + 1;
    m_cells.resize(static_cast<size_t>(m_nColumns) * m_nRows);
  }
  int Column(int32_t x) const { return Clamp((static_cast<double>(x) - m_box.minX) / m_fCell, m_nColumns); }
  int Row(int32_t y) const { return Clamp((static_cast<double>(y) - m_box.minY) / m_fCell, m_nRows); }
  int Columns() const { return m_nColumns; }
  int Rows() const { return m_nRows; }
  double CellSize() const { return m_fCell; }
  std::vector<size_t>& Cell(int column, int row) { return m_cells[static_cast<size_t>(row) * m_nColumns + column]; }

 private:
  static int Clamp(double at, int count) { return at <= 0 ? 0 : at >= count - 1 ? count - 1 : static_cast<int>(at); }
  JobBounds m_box;
  double m_fCell = 1;
  int m_nColumns = 1, m_nRows = 1;
  std::vector<std::vector<size_t>> m_cells;
};

// For every unit, the units whose closed path lies around its own (inner before outer).
// Candidates are found through a grid of the units' bounds, and only a larger box (or an
// equal one earlier in the drawing) can hold another, so nothing is ever inside itself.
std::vector<std::vector<size_t>> FindOuters(const std::vector<PathSpan>& spans, const std::vector<CutUnit>& units,
                                            const JobBounds& bounds) {
  std::vector<std::vector<size_t>> outers(units.size());
  auto area = [&](size_t u) {
    const JobBounds& b = spans[units[u].anchor].box;
    return static_cast<double>(static_cast<int64_t>(b.maxX) - b.minX) *
           static_cast<double>(static_cast<int64_t>(b.maxY) - b.minY);
  };
  std::vector<size_t> rank(units.size());
  {
    std::vector<size_t> byArea(units.size());
    for (size_t u = 0; u < units.size(); ++u) byArea[u] = u;
    std::stable_sort(byArea.begin(), byArea.end(), [&](size_t a, size_t b) { return area(a) > area(b); });
    for (size_t i = 0; i < byArea.size(); ++i) rank[byArea[i]] = i;
  }
  CGrid grid(bounds, units.size());
  for (size_t u = 0; u < units.size(); ++u) {
    const JobBounds& b = spans[units[u].anchor].box;
    for (int row = grid.Row(b.minY); row <= grid.Row(b.maxY); ++row)
      for (int column = grid.Column(b.minX); column <= grid.Column(b.maxX); ++column)
        grid.Cell(column, row).push_back(u);
  }
  for (size_t u = 0; u < units.size(); ++u) {
    const PathSpan& inner = spans[units[u].anchor];
    // Every box that holds this one holds its corner, so it is listed in the corner's cell.
    for (size_t v : grid.Cell(grid.Column(inner.box.minX), grid.Row(inner.box.minY))) {
      if (rank[v] >= rank[u]) continue;
      const PathSpan& outer = spans[units[v].anchor];
      if (Within(inner.box, outer.box) && LiesInside(inner, outer)) outers[u].push_back(v);
    }
  }
  return outers;
}

// The starts of the units that may be cut next, for the nearest one to the pen.
class CNearestStarts {
 public:
  CNearestStarts(const std::vector<CutUnit>& units, const JobBounds& bounds)
      : m_units(units), m_grid(bounds, units.size()), m_slot(units.size(), NONE) {}

  void Insert(size_t u) {
    std::vector<size_t>& cell = CellOf(u);
    m_slot[u] = cell.size();
    cell.push_back(u);
    ++m_nCount;
  }

  void Remove(size_t u) {
    std::vector<size_t>& cell = CellOf(u);
    const size_t moved = cell.back();
    cell[m_slot[u]] = moved;
    m_slot[moved] = m_slot[u];
    cell.pop_back();
    m_slot[u] = NONE;
    --m_nCount;
  }

  // The unit whose start is nearest `pen`, the earliest in the drawing among equals;
  // NONE when there is none. Rings of cells are searched outward until no nearer start can
  // lie beyond them.
  size_t Nearest(IntPoint pen) {
    if (m_nCount == 0) return NONE;
    const int column = m_grid.Column(pen.x), row = m_grid.Row(pen.y);
    const int rings = std::max(std::max(column, m_grid.Columns() - 1 - column), std::max(row, m_grid.Rows() - 1 - row));
    size_t best = NONE;
    double bestDistance = 0;
    for (int r = 0; r <= rings; ++r) {
      for (int c = column - r; c <= column + r; ++c)
        for (int w = row - r; w <= row + r; w += (c == column - r || c == column + r || r == 0) ? 1 : 2 * r) {
          if (c < 0 || w < 0 || c >= m_grid.Columns() || w >= m_grid.Rows()) continue;
          for (size_t u : m_grid.Cell(c, w)) {
            const double d = Distance(pen, m_units[u].start);
            if (best == NONE || d < bestDistance || (d == bestDistance && u < best)) {
              best = u;
              bestDistance = d;
            }
          }
        }
      if (best != NONE && bestDistance < r * m_grid.CellSize()) break;
    }
    return best;
  }

 private:
  std::vector<size_t>& CellOf(size_t u) {
    return m_grid.Cell(m_grid.Column(m_units[u].start.x), m_grid.Row(m_units[u].start.y));
  }
  const std::vector<CutUnit>& m_units;
  CGrid m_grid;
  std::vector<size_t> m_slot;
  size_t m_nCount = 0;
};

// The units in the order to cut them: each unit only after every unit inside it; among
// those that may go, the earliest in the drawing, or with `nearest` the one whose start is
// nearest the pen.
std::vector<size_t> Sequence(const std::vector<CutUnit>& units, const std::vector<std::vector<size_t>>& outers,
                             bool nearest, IntPoint pen, const JobBounds& bounds) {
  std::vector<size_t> waiting(units.size(), 0);
  for (const std::vector<size_t>& list : outers)
    for (size_t v : list) ++waiting[v];
  std::priority_queue<size_t, std::vector<size_t>, std::greater<size_t>> earliest;
  CNearestStarts starts(units, bounds);
  auto release = [&](size_t u) {
    if (nearest)
      starts.Insert(u);
    else
      earliest.push(u);
  };
  for (size_t u = 0; u < units.size(); ++u)
    if (waiting[u] == 0) release(u);
  std::vector<size_t> order;
  order.reserve(units.size());
  while (order.size() < units.size()) {
    size_t u;
    if (nearest) {
      u = starts.Nearest(pen);
      starts.Remove(u);
    } else {
      u = earliest.top();
      earliest.pop();
    }
    order.push_back(u);
    pen = units[u].finish;
    for (size_t v : outers[u])
      if (--waiting[v] == 0) release(v);
  }
  return order;
}

// The pen-up travel of cutting `units` in `order`, summed hop by hop as PenUpTravel sums
// the built list, so that the two agree to the last bit.
double Travel(const std::vector<PathSpan>& spans, const std::vector<CutUnit>& units, const std::vector<size_t>& order,
              int passes, IntPoint pen, IntPoint park) {
  double travel = 0;
  for (size_t u : order)
    for (size_t s = units[u].begin; s < units[u].end; ++s) {
      travel += Distance(pen, spans[s].start);
      pen = EndAfterPasses(spans[s], passes);
    }
  return travel + Distance(pen, park);
}

// Appends points to a new list, each in a node of its own.
class CListBuilder {
 public:
  ~CListBuilder() { FreePoints(m_head); }
  void Add(int32_t kind, IntPoint at) {
    if (m_failed) return;
    PlotPoint* node = NewEmptyPoint();
    if (!node) {
      m_failed = true;
      FreePoints(m_head);
      return;
    }
    node->kind = kind;
    node->x = at.x;
    node->y = at.y;
    (m_tail ? m_tail->next : m_head) = node;
    m_tail = node;
  }
  // The list, or null when memory ran out (everything built is released). A list without
  // a point is one placeholder, as a job without drawing commands is.
  PointList Take() {
    if (!m_head && !m_failed) m_head = NewEmptyPoint();
    PointList list = m_head;
    m_head = nullptr;
    return list;
  }

 private:
  PointList m_head = nullptr;
  PlotPoint* m_tail = nullptr;
  bool m_failed = false;
};

// Cuts `points` (a path: its move or first line, then its lines) `passes` times. Each
// further pass goes on with the pen down: a closed path round again, an open one back
// along itself.
void AddPasses(CListBuilder& out, const std::vector<IntPoint>& points, bool hasMove, bool closed, int passes) {
  for (size_t i = 0; i < points.size(); ++i) out.Add(i == 0 && hasMove ? KIND_PEN_UP : KIND_PEN_DOWN, points[i]);
  if (points.size() < 2) return;
  for (int pass = 2; pass <= passes; ++pass) {
    if (closed || pass % 2 == 1) {
      for (size_t i = 1; i < points.size(); ++i) out.Add(KIND_PEN_DOWN, points[i]);
    } else {
      for (size_t i = points.size() - 1; i-- > 0;) out.Add(KIND_PEN_DOWN, points[i]);
    }
  }
}

void AddSpan(CListBuilder& out, const PathSpan& span, int passes) {
  std::vector<IntPoint> points;
  points.reserve(span.count);
  ForEachPoint(span, [&](IntPoint p) { points.push_back(p); });
  AddPasses(out, points, span.hasMove, span.closed, passes);
}

// The weed border: a rectangle `margin` units outside `bounds`, from its lower left corner
// anticlockwise (y pointing up).
void AddWeedBorder(CListBuilder& out, const JobBounds& bounds, int32_t margin, int passes) {
  const int32_t left = TruncToCoord(static_cast<double>(bounds.minX) - margin);
  const int32_t right = TruncToCoord(static_cast<double>(bounds.maxX) + margin);
  const int32_t bottom = TruncToCoord(static_cast<double>(bounds.minY) - margin);
  const int32_t top = TruncToCoord(static_cast<double>(bounds.maxY) + margin);
  const std::vector<IntPoint> corners = {{left, bottom}, {right, bottom}, {right, top}, {left, top}, {left, bottom}};
  AddPasses(out, corners, true, true, passes);
}

// The units of a job whose paths are reordered, over `spans` from `from` on (each of which
// cuts something): each closed path with the open paths that are nearer to it than to
// another closed path in the drawing's order (the earlier one on a tie); one unit per open
// path when there is no closed path.
std::vector<CutUnit> FormUnits(const std::vector<PathSpan>& spans, size_t from, int passes) {
  std::vector<size_t> closed;
  for (size_t s = from; s < spans.size(); ++s)
    if (spans[s].closed) closed.push_back(s);
  std::vector<CutUnit> units;
  auto add = [&](size_t begin, size_t end, size_t anchor) {
    CutUnit unit;
    unit.begin = begin;
    unit.end = end;
    unit.anchor = anchor;
    unit.start = spans[begin].start;
    unit.finish = EndAfterPasses(spans[end - 1], passes);
    units.push_back(unit);
  };
  if (closed.empty()) {
    for (size_t s = from; s < spans.size(); ++s) add(s, s + 1, NONE);
    return units;
  }
  size_t begin = from;
  for (size_t k = 0; k < closed.size(); ++k) {
    const size_t end = k + 1 < closed.size() ? (closed[k] + closed[k + 1]) / 2 + 1 : spans.size();
    add(begin, end, closed[k]);
    begin = end;
  }
  return units;
}

}  // namespace

JobResult OrderCuts(PointList points, const JobBounds& bounds, const CutOrder& order, PointList& out,
                    JobBounds& outBounds) {
  out = nullptr;
  const int passes = std::min(std::max(order.passes, MIN_PASSES), MAX_PASSES);
  const std::vector<PathSpan> spans = SplitPaths(points);
  int64_t total = 6 * passes;  // the weed border and the list's end
  for (const PathSpan& span : spans) total += 1 + static_cast<int64_t>(span.count - 1) * passes;
  if (total > MAX_JOB_POINTS) return JOB_TOO_LARGE;

  const bool reorder = order.insideFirst || order.shortestTravel;
  const size_t fixed = !spans.empty() && !spans[0].hasMove ? 1 : 0;
  CListBuilder list;
  if (!reorder) {
    for (const PathSpan& span : spans) AddSpan(list, span, passes);
  } else {
    // Work on the spans that cut something, so that unit ranges are contiguous.
    std::vector<PathSpan> cutting(spans.begin(), spans.begin() + fixed);
    for (size_t s = fixed; s < spans.size(); ++s)
      if (spans[s].count >= 2) cutting.push_back(spans[s]);
    const std::vector<CutUnit> units = FormUnits(cutting, fixed, passes);
    const IntPoint origin = {bounds.maxX, bounds.minY}, park = {bounds.maxX, bounds.maxY};
    const IntPoint pen = fixed ? EndAfterPasses(cutting[0], passes) : origin;
    std::vector<std::vector<size_t>> outers(units.size());
    if (order.insideFirst && !units.empty() && units[0].anchor != NONE) outers = FindOuters(cutting, units, bounds);
    std::vector<size_t> sequence = Sequence(units, outers, false, pen, bounds);
    if (order.shortestTravel) {
      // Nearest-first is a good guess, not a guarantee: it is kept only when it is shorter.
      std::vector<size_t> nearest = Sequence(units, outers, true, pen, bounds);
      const double before = Travel(cutting, units, sequence, passes, pen, park);
      const double after = Travel(cutting, units, nearest, passes, pen, park);
      if (after <= before) sequence.swap(nearest);
    }
    if (fixed) AddSpan(list, cutting[0], passes);
    for (size_t u : sequence)
      for (size_t s = units[u].begin; s < units[u].end; ++s) AddSpan(list, cutting[s], passes);
  }
  if (order.weedMargin > 0) AddWeedBorder(list, bounds, order.weedMargin, passes);
  out = list.Take();
  if (!out) return JOB_NO_MEMORY;
  ComputeBounds(out, outBounds);
  TransformPoints(out, OriginTranslation(outBounds), outBounds);
  return JOB_DONE;
}

double PenUpTravel(PointList points, IntPoint from, IntPoint park) {
  double travel = 0;
  IntPoint pen = from;
  for (const PlotPoint* p = points; p; p = p->next) {
    if (!IsDrawn(p)) continue;
    const IntPoint at = {p->x, p->y};
    if (p->kind == KIND_PEN_UP) travel += Distance(pen, at);
    pen = at;
  }
  return travel + Distance(pen, park);
}
