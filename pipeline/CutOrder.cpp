#include "pipeline/CutOrder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>
#include <queue>
#include <unordered_set>
#include <vector>

#include "pipeline/PipelineRoutines.h"
#include "pipeline/PointListBuilder.h"

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

// Calls `visit` with each move and line of `span`, in order, until it returns false.
template <typename Visit>
void ForEachPoint(const PathSpan& span, Visit visit) {
  size_t seen = 0;
  for (const PlotPoint* p = span.first; p && seen < span.count; p = p->next) {
    if (!IsDrawn(p)) continue;
    ++seen;
    if (!visit(IntPoint{p->x, p->y})) return;
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
    span.closed = span.hasMove && IsClosedPath(span.start, span.last, static_cast<int64_t>(span.count));
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
// first point), by the even-odd rule; the walk ends at the first edge `q` lies on. Products
// of coordinate differences are exact in double for jobs under 1.6 km across. Each edge
// looked at is a step.
Side SideOf(IntPoint q, const PathSpan& span, uint64_t& steps) {
  bool inside = false;
  bool on = false;
  IntPoint a = span.last;
  ForEachPoint(span, [&](IntPoint b) {
    ++steps;
    const double cross = static_cast<double>(static_cast<int64_t>(b.x) - a.x) * (static_cast<int64_t>(q.y) - a.y) -
                         static_cast<double>(static_cast<int64_t>(b.y) - a.y) * (static_cast<int64_t>(q.x) - a.x);
    if (cross == 0 && q.x >= std::min(a.x, b.x) && q.x <= std::max(a.x, b.x) && q.y >= std::min(a.y, b.y) &&
        q.y <= std::max(a.y, b.y)) {
      on = true;
      return false;
    }
    if ((a.y > q.y) != (b.y > q.y)) {
      const bool upward = b.y > a.y;
      if (upward ? cross > 0 : cross < 0) inside = !inside;
    }
    a = b;
    return true;
  });
  if (on) return SIDE_ON;
  return inside ? SIDE_INSIDE : SIDE_OUTSIDE;
}

uint64_t PointKey(IntPoint p) {
  return static_cast<uint64_t>(static_cast<uint32_t>(p.x)) << 32 | static_cast<uint32_t>(p.y);
}

// Whether closed path `inner` lies inside closed path `outer` (their bounds already nest):
// its first point not on the outline of `outer` decides. Once a point is on the outline,
// the corners of `outer` are listed, so that a path drawn twice costs a walk of each copy
// and not a walk of one for every point of the other.
bool LiesInside(const PathSpan& inner, const PathSpan& outer, uint64_t& steps) {
  Side decided = SIDE_ON;
  std::unordered_set<uint64_t> corners;
  bool listed = false;
  ForEachPoint(inner, [&](IntPoint p) {
    ++steps;
    if (listed && corners.count(PointKey(p))) return true;
    decided = SideOf(p, outer, steps);
    if (decided != SIDE_ON) return false;
    if (!listed) {
      corners.reserve(outer.count);
      ForEachPoint(outer, [&](IntPoint c) {
        ++steps;
        corners.insert(PointKey(c));
        return true;
      });
      listed = true;
    }
    return true;
  });
  return decided == SIDE_INSIDE;
}

// `value` divided by 2^`shift`, rounded down.
int64_t FloorShift(int64_t value, int shift) { return value >= 0 ? value >> shift : -((-value - 1) >> shift) - 1; }

// The smallest level whose cells (2^level units square) a box fits in.
int LevelOf(const JobBounds& box) {
  const int64_t size = std::max(static_cast<int64_t>(box.maxX) - box.minX, static_cast<int64_t>(box.maxY) - box.minY);
  int level = 0;
  while ((int64_t{1} << level) < size) ++level;
  return level;
}

// Which closed path lies inside which, and which holds each open path's start. The closed
// paths are ranked by the area of their bounds, largest first (the earliest in the drawing
// among equals), and only a path of lower rank can hold another, so nothing holds itself.
// Each box is filed once: at its level, in the cell of its lower left corner. A box that
// holds another is at the other's level or above, and at each of those levels its corner
// lies in the cell of the other's corner or in the cell left of it, below it or both; so a
// question looks at four cells a level, and in each only at the ranks between its own and
// the nearest holder found so far.
class CNesting {
 public:
  // `closed` lists the closed spans of `spans`; paths are named by their place in it.
  CNesting(const std::vector<PathSpan>& spans, const std::vector<size_t>& closed, uint64_t& steps)
      : m_spans(spans), m_closed(closed), m_steps(steps), m_rank(closed.size()), m_byRank(closed.size()) {
    auto area = [&](size_t k) {
      const JobBounds& b = Box(k);
      return static_cast<double>(static_cast<int64_t>(b.maxX) - b.minX) *
             static_cast<double>(static_cast<int64_t>(b.maxY) - b.minY);
    };
    for (size_t k = 0; k < closed.size(); ++k) m_byRank[k] = k;
    std::stable_sort(m_byRank.begin(), m_byRank.end(), [&](size_t a, size_t b) { return area(a) > area(b); });
    m_filed.reserve(closed.size());
    for (size_t r = 0; r < closed.size(); ++r) {
      m_rank[m_byRank[r]] = r;
      const JobBounds& b = Box(m_byRank[r]);
      const int level = LevelOf(b);
      m_filed.push_back(Filed{Cell{level, FloorShift(b.minX, level), FloorShift(b.minY, level)}, r});
      m_levels.push_back(level);
    }
    std::sort(m_filed.begin(), m_filed.end());
    std::sort(m_levels.begin(), m_levels.end());
    m_levels.erase(std::unique(m_levels.begin(), m_levels.end()), m_levels.end());
  }

  // Appends to `around` the closed paths that `k` is cut before: the nearest it lies inside,
  // then, nearest first, each further one it lies inside that does not hold the nearest, up
  // to the first that does. Outlines that do not cross hold each other in a chain, and the
  // nearest one's own waits carry the order on; outlines that cross or lie on each other (a
  // copy drawn twice) can each hold a path that neither holds, and the path is cut before
  // both.
  void Around(size_t k, std::vector<size_t>& around) const {
    const PathSpan& inner = m_spans[m_closed[k]];
    auto holdsInner = [&](const PathSpan& outer) { return LiesInside(inner, outer, m_steps); };
    const size_t nearest = Nearest(inner.box, m_rank[k], holdsInner);
    if (nearest == NONE) return;
    around.push_back(nearest);
    const PathSpan& near = m_spans[m_closed[nearest]];
    for (size_t next = Nearest(inner.box, m_rank[nearest], holdsInner); next != NONE;
         next = Nearest(inner.box, m_rank[next], holdsInner)) {
      const PathSpan& outer = m_spans[m_closed[next]];
      if (Within(near.box, outer.box) && LiesInside(near, outer, m_steps)) return;
      around.push_back(next);
    }
  }

  // The innermost closed path whose outline holds `at`, on it or inside; NONE when none does.
  size_t Holding(IntPoint at) const {
    const JobBounds box = {at.x, at.x, at.y, at.y};
    return Nearest(box, m_closed.size(),
                   [&](const PathSpan& outer) { return SideOf(at, outer, m_steps) != SIDE_OUTSIDE; });
  }

 private:
  struct Cell {
    int level;
    int64_t column, row;
    bool operator<(const Cell& o) const {
      return level != o.level ? level < o.level : column != o.column ? column < o.column : row < o.row;
    }
  };
  struct Filed {
    Cell cell;
    size_t rank;
    bool operator<(const Filed& o) const { return cell < o.cell || (!(o.cell < cell) && rank < o.rank); }
  };

  const JobBounds& Box(size_t k) const { return m_spans[m_closed[k]].box; }

  // The path of the highest rank below `limit` whose bounds hold `box` and for which
  // `holds` is true; NONE when there is none. Each filed box looked at is a step.
  template <typename Holds>
  size_t Nearest(const JobBounds& box, size_t limit, Holds holds) const {
    size_t best = NONE;  // a rank
    const int lowest = LevelOf(box);
    for (int level : m_levels) {
      if (level < lowest) continue;
      const int64_t column = FloorShift(box.minX, level), row = FloorShift(box.minY, level);
      for (int64_t c = column - 1; c <= column; ++c)
        for (int64_t r = row - 1; r <= row; ++r) {
          const Filed from = {Cell{level, c, r}, 0}, to = {Cell{level, c, r}, limit};
          const auto first = std::lower_bound(m_filed.begin(), m_filed.end(), from);
          for (auto it = std::lower_bound(first, m_filed.end(), to); it != first;) {
            --it;
            if (best != NONE && it->rank <= best) break;
            ++m_steps;
            if (Within(box, Box(m_byRank[it->rank])) && holds(m_spans[m_closed[m_byRank[it->rank]]])) {
              best = it->rank;
              break;
            }
          }
        }
    }
    return best == NONE ? NONE : m_byRank[best];
  }

  const std::vector<PathSpan>& m_spans;
  const std::vector<size_t>& m_closed;
  uint64_t& m_steps;
  std::vector<size_t> m_rank, m_byRank;
  std::vector<Filed> m_filed;  // in order of cell, then rank
  std::vector<int> m_levels;   // the levels filed at, lowest first
};

// A run of paths that is cut as one: a closed path with the open paths that go with it,
// or, in a job without closed paths, one open path.
struct CutUnit {
  size_t begin = 0, end = 0;  // places [begin, end) in the list of spans in unit order
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

// Which units each unit is cut before: those of unit u are outers[firstOuter[u]] to
// outers[firstOuter[u + 1]].
struct Waits {
  std::vector<size_t> firstOuter, outers;
};

// The units in the order to cut them: each unit only after the units `waits` names it for,
// and so after every unit inside it at any depth; among those that may go, the earliest in
// the drawing, or with `nearest` the one whose start is nearest the pen.
std::vector<size_t> Sequence(const std::vector<CutUnit>& units, const Waits& waits, bool nearest, IntPoint pen,
                             const JobBounds& bounds) {
  std::vector<size_t> waiting(units.size(), 0);
  for (size_t v : waits.outers) ++waiting[v];
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
    for (size_t i = waits.firstOuter[u]; i < waits.firstOuter[u + 1]; ++i)
      if (--waiting[waits.outers[i]] == 0) release(waits.outers[i]);
  }
  return order;
}

// The pen-up travel of cutting `units` (over `unitSpans`) in `order`, summed hop by hop as
// PenUpTravel sums the built list, so that the two agree to the last bit.
double Travel(const std::vector<PathSpan>& spans, const std::vector<size_t>& unitSpans,
              const std::vector<CutUnit>& units, const std::vector<size_t>& order, int passes, IntPoint pen,
              IntPoint park) {
  double travel = 0;
  for (size_t u : order)
    for (size_t i = units[u].begin; i < units[u].end; ++i) {
      travel += Distance(pen, spans[unitSpans[i]].start);
      pen = EndAfterPasses(spans[unitSpans[i]], passes);
    }
  return travel + Distance(pen, park);
}

// Cuts `points` (a path: its move or first line, then its lines) `passes` times. Each
// further pass goes on with the pen down: a closed path round again, an open one back
// along itself.
void AddPasses(CPointListBuilder& out, const std::vector<IntPoint>& points, bool hasMove, bool closed, int passes) {
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

void AddSpan(CPointListBuilder& out, const PathSpan& span, int passes) {
  std::vector<IntPoint> points;
  points.reserve(span.count);
  ForEachPoint(span, [&](IntPoint p) {
    points.push_back(p);
    return true;
  });
  AddPasses(out, points, span.hasMove, span.closed, passes);
}

// The weed border: a rectangle `margin` units outside `bounds`, from its lower left corner
// anticlockwise (y pointing up).
void AddWeedBorder(CPointListBuilder& out, const JobBounds& bounds, int32_t margin, int passes) {
  const int32_t left = TruncToCoord(static_cast<double>(bounds.minX) - margin);
  const int32_t right = TruncToCoord(static_cast<double>(bounds.maxX) + margin);
  const int32_t bottom = TruncToCoord(static_cast<double>(bounds.minY) - margin);
  const int32_t top = TruncToCoord(static_cast<double>(bounds.maxY) + margin);
  const std::vector<IntPoint> corners = {{left, bottom}, {right, bottom}, {right, top}, {left, top}, {left, bottom}};
  AddPasses(out, corners, true, true, passes);
}

// The units of a job whose paths are reordered, over `spans` from `from` on (each of which
// cuts something), of which `closed` are the closed ones: one unit for each closed path,
// in their order, with the open paths that `held` gives it (a place in `closed`, or NONE)
// cut just before it, and the other open paths that are nearer to it than to another closed
// path in the drawing's order (the earlier one on a tie); one unit per open path when there
// is no closed path. `unitSpans` receives the spans in unit order.
std::vector<CutUnit> FormUnits(const std::vector<PathSpan>& spans, size_t from, const std::vector<size_t>& closed,
                               const std::vector<size_t>& held, int passes, std::vector<size_t>& unitSpans) {
  std::vector<CutUnit> units;
  unitSpans.clear();
  unitSpans.reserve(spans.size() - from);
  auto add = [&](size_t begin) {
    CutUnit unit;
    unit.begin = begin;
    unit.end = unitSpans.size();
    unit.start = spans[unitSpans[begin]].start;
    unit.finish = EndAfterPasses(spans[unitSpans.back()], passes);
    units.push_back(unit);
  };
  if (closed.empty()) {
    for (size_t s = from; s < spans.size(); ++s) {
      unitSpans.push_back(s);
      add(unitSpans.size() - 1);
    }
    return units;
  }
  // The open paths each closed path holds, in the drawing's order: those of closed path k
  // are heldSpans[firstHeld[k]] to heldSpans[firstHeld[k + 1]].
  std::vector<size_t> firstHeld(closed.size() + 1, 0), heldSpans;
  for (size_t s = from; s < spans.size(); ++s)
    if (held[s] != NONE) ++firstHeld[held[s] + 1];
  for (size_t k = 0; k < closed.size(); ++k) firstHeld[k + 1] += firstHeld[k];
  heldSpans.resize(firstHeld.back());
  {
    std::vector<size_t> next(firstHeld.begin(), firstHeld.end() - 1);
    for (size_t s = from; s < spans.size(); ++s)
      if (held[s] != NONE) heldSpans[next[held[s]]++] = s;
  }
  size_t begin = from;
  for (size_t k = 0; k < closed.size(); ++k) {
    const size_t end = k + 1 < closed.size() ? (closed[k] + closed[k + 1]) / 2 + 1 : spans.size();
    const size_t first = unitSpans.size();
    for (size_t s = begin; s < end; ++s) {
      if (s == closed[k])
        unitSpans.insert(unitSpans.end(), heldSpans.begin() + firstHeld[k], heldSpans.begin() + firstHeld[k + 1]);
      if (held[s] == NONE) unitSpans.push_back(s);
    }
    add(first);
    begin = end;
  }
  return units;
}

}  // namespace

JobResult OrderCuts(PointList points, const JobBounds& bounds, const CutOrder& order, PointList& out,
                    JobBounds& outBounds, uint64_t* steps, IntPoint* moved) {
  out = nullptr;
  uint64_t work = 0;
  const int passes = std::min(std::max(order.passes, MIN_PASSES), MAX_PASSES);
  CPointListBuilder list;
  try {
    const std::vector<PathSpan> spans = SplitPaths(points);
    int64_t total = 6 * passes;  // the weed border and the list's end
    for (const PathSpan& span : spans) total += 1 + static_cast<int64_t>(span.count - 1) * passes;
    if (total > MAX_JOB_POINTS) return JOB_TOO_LARGE;

    const size_t fixed = !spans.empty() && !spans[0].hasMove ? 1 : 0;
    if (!order.insideFirst && !order.shortestTravel) {
      for (const PathSpan& span : spans) AddSpan(list, span, passes);
    } else {
      // Work on the spans that cut something, so that the open paths go with the nearest
      // closed path among those.
      std::vector<PathSpan> cutting(spans.begin(), spans.begin() + fixed);
      for (size_t s = fixed; s < spans.size(); ++s)
        if (spans[s].count >= 2) cutting.push_back(spans[s]);
      std::vector<size_t> closed;
      for (size_t s = fixed; s < cutting.size(); ++s)
        if (cutting[s].closed) closed.push_back(s);
      // With inner shapes first, each closed path waits for those inside it, and an open
      // path starting within a closed one is cut just before the innermost of those.
      Waits waits;
      std::vector<size_t> held(cutting.size(), NONE);
      if (order.insideFirst && !closed.empty()) {
        const CNesting nesting(cutting, closed, work);
        for (size_t k = 0; k < closed.size(); ++k) {
          waits.firstOuter.push_back(waits.outers.size());
          nesting.Around(k, waits.outers);
        }
        for (size_t s = fixed; s < cutting.size(); ++s)
          if (!cutting[s].closed) held[s] = nesting.Holding(cutting[s].start);
      }
      std::vector<size_t> unitSpans;
      const std::vector<CutUnit> units = FormUnits(cutting, fixed, closed, held, passes, unitSpans);
      waits.firstOuter.resize(units.size() + 1, waits.outers.size());
      const IntPoint origin = {bounds.maxX, bounds.minY}, park = {bounds.maxX, bounds.maxY};
      const IntPoint pen = fixed ? EndAfterPasses(cutting[0], passes) : origin;
      std::vector<size_t> sequence = Sequence(units, waits, false, pen, bounds);
      if (order.shortestTravel) {
        // Nearest-first is a good guess, not a guarantee: it is kept only when it is shorter.
        std::vector<size_t> nearest = Sequence(units, waits, true, pen, bounds);
        const double before = Travel(cutting, unitSpans, units, sequence, passes, pen, park);
        const double after = Travel(cutting, unitSpans, units, nearest, passes, pen, park);
        if (after <= before) sequence.swap(nearest);
      }
      if (fixed) AddSpan(list, cutting[0], passes);
      for (size_t u : sequence)
        for (size_t i = units[u].begin; i < units[u].end; ++i) AddSpan(list, cutting[unitSpans[i]], passes);
    }
    if (order.weedMargin > 0) AddWeedBorder(list, bounds, order.weedMargin, passes);
  } catch (const std::bad_alloc&) {
    return JOB_NO_MEMORY;
  }
  if (steps) *steps = work;
  out = list.Take();
  if (!out) return JOB_NO_MEMORY;
  ComputeBounds(out, outBounds);
  const JobTransform toOrigin = OriginTranslation(outBounds);
  TransformPoints(out, toOrigin, outBounds);
  if (moved) *moved = IntPoint{toOrigin.dx, toOrigin.dy};
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
