#include "pipeline/StraightRuns.h"

namespace {

// Builds the simplified list: writing a point fills the open placeholder node and
// appends a new one, taken from the spare nodes of the old list when there is one.
class CRunMerger {
 public:
  CRunMerger() : m_head(NewEmptyPoint()), m_open(m_head) {}
  CRunMerger(const CRunMerger&) = delete;
  CRunMerger& operator=(const CRunMerger&) = delete;
  ~CRunMerger() { FreePoints(m_spare); }

  bool Failed() const { return m_failed; }

  // A node of the old list that has been passed; it may hold a later written point.
  void Recycle(PlotPoint* node) {
    node->next = m_spare;
    m_spare = node;
  }

  // The new list; null when memory ran out (everything built so far is released).
  PointList Take() {
    if (m_failed) FreePoints(m_head);
    return m_head;
  }

  void Add(const PlotPoint& p, const PlotPoint* next) {
    if (p.kind == KIND_PEN_UP) {
      if (m_vertical || m_horizontal) {
        EndRuns();
        WriteAnchorIfNew();
      }
      m_x = p.x;
      m_y = p.y;
      Write(KIND_PEN_UP, p.x, p.y);
    } else if (p.kind == KIND_PEN_DOWN) {
      AddLine(p, next);
    }
  }

 private:
  void AddLine(const PlotPoint& p, const PlotPoint* next) {
    if (p.x == m_x && !m_horizontal) {
      Step(m_vertical, static_cast<int64_t>(p.y) - m_y);
      m_y = p.y;
    }
    if (m_vertical && RunEndsAt(next, next && next->x == m_x, next ? next->y : 0, p.y)) {
      EndRuns();
      WriteAnchorIfNew();  // the anchor is p itself here
    }
    if (p.y == m_y && !m_vertical) {
      Step(m_horizontal, static_cast<int64_t>(p.x) - m_x);
      m_x = p.x;
    }
    if (m_horizontal && RunEndsAt(next, next && next->y == m_y, next ? next->x : 0, p.x)) {
      EndRuns();
      WriteAnchorIfNew();
    }
    if (!m_vertical && !m_horizontal) {
      m_x = p.x;
      m_y = p.y;
      if (IsNew(p.x, p.y)) Write(KIND_PEN_DOWN, p.x, p.y);
    }
    if (!next && IsNew(m_x, m_y) && m_open) {  // a run still open at the end of the list
      m_open->kind = KIND_PEN_DOWN;
      m_open->x = p.x;
      m_open->y = p.y;
    }
  }

  // Turns a run on (starting it without a direction) and records the direction of a
  // non-zero step along its line.
  void Step(bool& run, int64_t step) {
    if (!run) m_direction = 0;
    run = true;
    if (step != 0) m_direction = step > 0 ? 1 : -1;
  }

  // The run ends at the current point (coordinate `along` on the run's line) when the next
  // point is a placeholder, leaves the line, or lies on it but turns back against the
  // run's direction.
  bool RunEndsAt(const PlotPoint* next, bool nextOnLine, int32_t nextAlong, int32_t along) const {
    if (!next) return false;
    if (next->kind == KIND_EMPTY || !nextOnLine) return true;
    const int64_t ahead = static_cast<int64_t>(nextAlong) - along;
    return m_direction != 0 && ahead != 0 && (ahead > 0) != (m_direction > 0);
  }

  void EndRuns() { m_vertical = m_horizontal = false; }

  bool IsNew(int32_t x, int32_t y) const { return !m_hasLast || x != m_lastX || y != m_lastY; }

  // Writes a line to the anchor unless it repeats the last written point.
  bool WriteAnchorIfNew() {
    if (!IsNew(m_x, m_y)) return false;
    Write(KIND_PEN_DOWN, m_x, m_y);
    return true;
  }

  void Write(int32_t kind, int32_t x, int32_t y) {
    if (!m_open) return;
    m_open->kind = kind;
    m_open->x = x;
    m_open->y = y;
    m_lastX = x;
    m_lastY = y;
    m_hasLast = true;
    PlotPoint* next = m_spare;
    if (next) {
      m_spare = next->next;
      *next = PlotPoint{KIND_EMPTY, 0, 0, nullptr};
    } else {
      next = NewEmptyPoint();
    }
    m_failed = m_failed || !next;
    m_open->next = next;
    m_open = next;
  }

  PointList m_head;
  PlotPoint* m_open;
  PlotPoint* m_spare = nullptr;
  bool m_failed = m_open == nullptr;
  int32_t m_x = 0, m_y = 0;  // the anchor
  bool m_vertical = false, m_horizontal = false;
  int m_direction = 0;  // of the run in progress: -1, +1, or 0 before its first step
  bool m_hasLast = false;
  int32_t m_lastX = 0, m_lastY = 0;
};

}  // namespace

bool MergeStraightRuns(PointList& points) {
  if (!points) return true;
  CRunMerger merger;
  PlotPoint* p = points;
  points = nullptr;
  while (p && !merger.Failed()) {
    PlotPoint* next = p->next;
    merger.Add(*p, next);  // looks ahead at `next` only: the nodes before it are free
    merger.Recycle(p);
    p = next;
  }
  FreePoints(p);  // what is left when memory ran out
  points = merger.Take();
  return points != nullptr;
}
