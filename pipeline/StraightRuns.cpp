#include "StraightRuns.h"

namespace {

// Builds the simplified list: writing a point fills the open placeholder node and
// appends a new one.
class CRunMerger {
 public:
  CRunMerger() : m_head(NewEmptyPoint()), m_open(m_head) {}

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
    if (!next && IsNew(m_x, m_y)) {  // a run still open at the end of the list
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
    PlotPoint* next = NewEmptyPoint();
    m_failed = m_failed || !next;
    m_open->next = next;
    m_open = next;
  }

  PointList m_head;
  PlotPoint* m_open;
  bool m_failed = m_open == nullptr;
  int32_t m_x = 0, m_y = 0;  // the anchor
  bool m_vertical = false, m_horizontal = false;
  int m_direction = 0;  // of the run in progress: -1, +1, or 0 before its first step
  bool m_hasLast = false;
  int32_t m_lastX = 0, m_lastY = 0;
};

}  // namespace

void MergeStraightRuns(PointList& points) {
  if (!points) return;
  CRunMerger merger;
  for (const PlotPoint* p = points; p; p = p->next) merger.Add(*p, p->next);
  FreePoints(points);
  points = merger.Take();
}
