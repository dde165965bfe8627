#include "pipeline/Geometry.h"

#include <cmath>

// Sum of a truncated product and an integer offset, saturated to the int32 range.
static int32_t AddOffset(int32_t value, int32_t offset) { return ClampToCoord(static_cast<int64_t>(value) + offset); }

static bool IsTranslation(const JobTransform& t) { return t.m11 == 1 && t.m12 == 0 && t.m21 == 0 && t.m22 == 1; }

static void TransformPair(const JobTransform& t, int32_t& x, int32_t& y) {
  if (IsTranslation(t)) {
    // Every move to the origin: the same integers as the doubles give, without them.
    x = AddOffset(x, t.dx);
    y = AddOffset(y, t.dy);
    return;
  }
  const double ox = x;
  const double oy = y;
  x = AddOffset(TruncToCoord(t.m11 * ox + t.m12 * oy), t.dx);
  y = AddOffset(TruncToCoord(t.m21 * ox + t.m22 * oy), t.dy);
}

// TruncToCoord(-1.0 * value) in integers.
static int32_t Negate(int32_t value) { return value == INT32_MIN ? INT32_MAX : -value; }

static bool IsMoveOrLine(int32_t kind) { return kind == KIND_PEN_UP || kind == KIND_PEN_DOWN; }

// Widens `bounds` to take in `p`; the first point sets them.
static void Extend(JobBounds& bounds, bool& first, const PlotPoint& p) {
  if (first || p.x < bounds.minX) bounds.minX = p.x;
  if (first || p.x > bounds.maxX) bounds.maxX = p.x;
  if (first || p.y < bounds.minY) bounds.minY = p.y;
  if (first || p.y > bounds.maxY) bounds.maxY = p.y;
  first = false;
}

void ComputeBounds(PointList points, JobBounds& bounds) {
  if (!points) return;
  bounds = JobBounds{0, 0, 0, 0};
  bool first = true;
  for (PlotPoint* p = points; p; p = p->next) {
    if (IsMoveOrLine(p->kind)) Extend(bounds, first, *p);
  }
}

void TransformPoints(PointList points, const JobTransform& transform) {
  for (PlotPoint* p = points; p; p = p->next) {
    if (IsMoveOrLine(p->kind)) TransformPair(transform, p->x, p->y);
  }
}

void TransformPoints(PointList points, const JobTransform& transform, JobBounds& bounds) {
  if (!points) return;
  bounds = JobBounds{0, 0, 0, 0};
  bool first = true;
  for (PlotPoint* p = points; p; p = p->next) {
    if (!IsMoveOrLine(p->kind)) continue;
    TransformPair(transform, p->x, p->y);
    Extend(bounds, first, *p);
  }
}

void MirrorToOrigin(PointList points, JobBounds& bounds) {
  if (!points) return;
  // The mirrored points' least x is the negated greatest x, so the move that brings it to 0
  // is known before the walk.
  const int64_t dx = -static_cast<int64_t>(Negate(bounds.maxX));
  bounds = JobBounds{0, 0, 0, 0};
  bool first = true;
  for (PlotPoint* p = points; p; p = p->next) {
    if (!IsMoveOrLine(p->kind)) continue;
    p->x = ClampToCoord(Negate(p->x) + dx);
    Extend(bounds, first, *p);
  }
  // y stays as it was; it moves only when its least value is not already 0.
  if (bounds.minY != 0) TransformPoints(points, OriginTranslation(bounds), bounds);
}

void TransformCommands(const JobTransform& transform, CommandList commands) {
  for (PathCommand* c = commands; c; c = c->next) {
    if (!c->coords) continue;
    const int pairs = c->kind == KIND_CURVE ? 3 : IsMoveOrLine(c->kind) ? 1 : 0;
    for (int i = 0; i < pairs; ++i) TransformPair(transform, c->coords[2 * i], c->coords[2 * i + 1]);
  }
}

static int32_t BezierAxis(int32_t p0, int32_t p1, int32_t p2, int32_t p3, double t) {
  // 64-bit coefficients: the differences of far-apart int32 coordinates do not fit 32 bits.
  const int64_t c = 3 * (static_cast<int64_t>(p1) - p0);
  const int64_t b = 3 * (static_cast<int64_t>(p2) - p1) - c;
  const int64_t a = static_cast<int64_t>(p3) - p0 - c - b;
  return TruncToCoord(((static_cast<double>(a) * t + static_cast<double>(b)) * t + static_cast<double>(c)) * t + p0);
}

IntPoint BezierPoint(IntPoint start, IntPoint control1, IntPoint control2, IntPoint end, double t) {
  return IntPoint{BezierAxis(start.x, control1.x, control2.x, end.x, t),
                  BezierAxis(start.y, control1.y, control2.y, end.y, t)};
}

// Where flattening puts its points, node by node: into new nodes appended to the list, or,
// reusing, into the nodes of a list built before from the same commands, where the next one
// is taken instead of a new one and made a placeholder again. The current node is open (a
// placeholder) until a point fills it.
class CPointNodes {
 public:
  CPointNodes(PlotPoint* first, bool reuse) : m_pCurrent(first), m_bReuse(reuse) {
    if (reuse) Open();
  }
  // Fills the open node; with `more`, the next node becomes current and open. False when
  // memory runs out, or when a reused list has no next node.
  bool Emit(int32_t kind, int32_t x, int32_t y, bool more) {
    m_pCurrent->kind = kind;
    m_pCurrent->x = x;
    m_pCurrent->y = y;
    if (!more) return true;
    PlotPoint* next = m_bReuse ? m_pCurrent->next : NewEmptyPoint();
    if (!next) return false;
    m_pCurrent->next = next;
    m_pCurrent = next;
    if (m_bReuse) Open();
    return true;
  }
  // True unless a reused list has nodes left over.
  bool Finish() const { return !m_bReuse || !m_pCurrent->next; }

 private:
  void Open() {
    m_pCurrent->kind = KIND_EMPTY;
    m_pCurrent->x = 0;
    m_pCurrent->y = 0;
  }
  PlotPoint* m_pCurrent;
  bool m_bReuse;
};

// Segments of the curve from `at` to `end`: the square root of the chord, truncated.
static int CurveSegments(IntPoint at, IntPoint end) {
  const double dx = static_cast<double>(end.x) - at.x;
  const double dy = static_cast<double>(end.y) - at.y;
  return static_cast<int>(std::sqrt(std::sqrt(dx * dx + dy * dy)));
}

static bool FlattenCurve(CPointNodes& nodes, IntPoint& at, const int32_t* c) {
  const IntPoint c1{c[0], c[1]}, c2{c[2], c[3]}, end{c[4], c[5]};
  const int segments = CurveSegments(at, end);
  if (segments > 0) {
    const double step = 1.0 / segments;
    for (double t = 0; t <= 1.0001; t += step) {
      const IntPoint p = BezierPoint(at, c1, c2, end, t);
      if (!nodes.Emit(KIND_PEN_DOWN, p.x, p.y, true)) return false;
    }
  }
  at = end;
  return true;
}

void CPointCount::Add(const PathCommand& command) {
  if (IsMoveOrLine(command.kind)) {
    m_at = IntPoint{command.coords[0], command.coords[1]};
    ++m_nPoints;
  } else if (command.kind == KIND_CURVE) {
    const IntPoint end{command.coords[4], command.coords[5]};
    const int segments = CurveSegments(m_at, end);
    if (segments > 0) m_nPoints += static_cast<int64_t>(segments * 1.0001) + 2;
    m_at = end;
  }
}

int64_t CountFlattenedPoints(CommandList commands) {
  CPointCount count;
  for (PathCommand* c = commands; c; c = c->next) count.Add(*c);
  return count.Points();
}

// Every point of the commands, in order, into `nodes`; false when `nodes` refuses one.
static bool FlattenAll(CommandList commands, CPointNodes& nodes) {
  IntPoint at{0, 0};
  for (PathCommand* c = commands; c; c = c->next) {
    if (IsMoveOrLine(c->kind)) {
      at = IntPoint{c->coords[0], c->coords[1]};
      const bool more = c->next && c->next->kind != KIND_EMPTY;
      if (!nodes.Emit(c->kind, at.x, at.y, more)) return false;
    } else if (c->kind == KIND_CURVE) {
      if (!FlattenCurve(nodes, at, c->coords)) return false;
    }
  }
  return nodes.Finish();
}

JobResult FlattenCommands(CommandList commands, PointList& out) {
  if (!commands) return JOB_DONE;
  out = nullptr;
  if (CountFlattenedPoints(commands) > MAX_JOB_POINTS) return JOB_TOO_LARGE;
  out = NewEmptyPoint();
  CPointNodes nodes(out, false);
  if (out && FlattenAll(commands, nodes)) return JOB_DONE;
  FreePoints(out);  // out of memory: no half-flattened job
  return JOB_NO_MEMORY;
}

bool FlattenCommandsInto(CommandList commands, PointList points) {
  if (!commands || !points) return false;
  CPointNodes nodes(points, true);
  return FlattenAll(commands, nodes);
}

JobTransform OriginTranslation(const JobBounds& bounds) {
  return JobTransform{
      1, 0, 0, 1, TruncToCoord(-static_cast<double>(bounds.minX)), TruncToCoord(-static_cast<double>(bounds.minY))};
}
