#include "OffsetFilter.h"

#include <cmath>
#include <cstring>

#include "BlockWriter.h"
#include "CommandDialect.h"
#include "Geometry.h"
#include "ScanNumbers.h"

namespace {

// Process-wide: zeroed at start, never reset. Every job ends with a pen-up, which leaves
// no path open for the next one.
struct FilterState {
  int m_bPathOpen;
  int m_bStartPending;
  IntPoint m_ptPathStart;
  IntPoint m_ptFirstEnd;
  IntPoint m_ptBefore;
  IntPoint m_ptCorner;
  IntPoint m_ptLast;
  IntPoint m_ptBeforeLast;
};

FilterState g_state;

bool operator==(IntPoint a, IntPoint b) { return a.x == b.x && a.y == b.y; }

void WriteCommand(CBlockWriter& out, int32_t kind, IntPoint p, int dialect) {
  PutCommand(out, StringsFor(dialect), kind, p.x, p.y);
}

void WritePoint(CBlockWriter& out, IntPoint p, int dialect) { WriteCommand(out, KIND_PEN_DOWN, p, dialect); }

// A distance used as a divisor: 0 becomes 1.
double Distance(IntPoint p, IntPoint q) {
  const double dx = static_cast<double>(q.x) - p.x;
  const double dy = static_cast<double>(q.y) - p.y;
  return std::sqrt(dx * dx + dy * dy);
}
double Divisor(IntPoint p, IntPoint q) {
  const double d = Distance(p, q);
  return d == 0 ? 1 : d;
}

// The point r units beyond p on the line from q through p.
IntPoint Extend(IntPoint q, IntPoint p, double r) {
  const double d = Divisor(q, p);
  const double f = (d + r) / d;
  return IntPoint{TruncToCoord(q.x + static_cast<double>(TruncToCoord(f * (static_cast<double>(p.x) - q.x)))),
                  TruncToCoord(q.y + static_cast<double>(TruncToCoord(f * (static_cast<double>(p.y) - q.y))))};
}

// The point r units from p toward r.
IntPoint Advance(IntPoint p, IntPoint toward, double r) {
  const double f = r / Divisor(p, toward);
  return IntPoint{TruncToCoord(p.x + static_cast<double>(TruncToCoord(f * (static_cast<double>(toward.x) - p.x)))),
                  TruncToCoord(p.y + static_cast<double>(TruncToCoord(f * (static_cast<double>(toward.y) - p.y))))};
}

// Reads "x,y" directly after the first occurrence of `keyword`; `point` keeps its value
// where the numbers do not parse. Returns false when the keyword is absent.
bool FindPoint(const char* command, const char* keyword, IntPoint& point) {
  const char* at = strstr(command, keyword);
  if (!at) return false;
  int32_t slots[2] = {point.x, point.y};
  ScanNumbers(at + strlen(keyword), slots, 2);
  point = IntPoint{slots[0], slots[1]};
  return true;
}

// Writes the points that finish the open path; changes no state.
void EndPath(CBlockWriter& out, int a, int b, int dialect) {
  const FilterState& s = g_state;
  const IntPoint start = s.m_ptPathStart, first = s.m_ptFirstEnd;
  const IntPoint last = s.m_ptLast, beforeLast = s.m_ptBeforeLast;
  if (!(last == start)) {  // open path: carry on past its end by the over-cut
    WritePoint(out, b ? Extend(beforeLast, last, b) : last, dialect);
    return;
  }
  // Closed path: cut the first segment again, up to its end or over-cut into it.
  if (a && IsSharpCorner(start, beforeLast, first)) {
    WritePoint(out, Extend(beforeLast, start, a), dialect);
    WritePoint(out, Advance(start, first, a), dialect);
    // In double: each distance may have saturated at the int32 limit.
    WritePoint(out, b ? Advance(start, first, static_cast<double>(a) + b) : first, dialect);
  } else {
    WritePoint(out, last, dialect);
    WritePoint(out, start, dialect);
    WritePoint(out, b ? Advance(start, first, b) : first, dialect);
  }
}

// The state change of a pen-up to p; the caller writes the command itself afterwards.
void PenUp(CBlockWriter& out, IntPoint p, int a, int b, int dialect) {
  FilterState& s = g_state;
  s.m_ptBefore = p;
  if (s.m_bPathOpen) EndPath(out, a, b, dialect);
  s.m_ptPathStart = s.m_ptBeforeLast = s.m_ptLast = p;
  s.m_bPathOpen = 0;
  s.m_bStartPending = 1;
}

void PenDown(CBlockWriter& out, IntPoint target, int a, int dialect) {
  FilterState& s = g_state;
  s.m_ptBeforeLast = s.m_ptLast;
  s.m_ptLast = target;
  if (!s.m_bPathOpen) {
    s.m_ptCorner = s.m_ptFirstEnd = target;
    s.m_bPathOpen = 1;
    return;
  }
  if (s.m_bStartPending) {
    WritePoint(out, s.m_ptBefore, dialect);
    s.m_bStartPending = 0;
  }
  const IntPoint corner = s.m_ptCorner, before = s.m_ptBefore;
  if (a && IsSharpCorner(corner, before, target)) {
    WritePoint(out, Extend(before, corner, a), dialect);
    WritePoint(out, Advance(corner, target, a), dialect);
  } else {
    WritePoint(out, corner, dialect);
  }
  s.m_ptBefore = corner;
  s.m_ptCorner = target;
}

}  // namespace

bool IsSharpCorner(IntPoint corner, IntPoint previous, IntPoint next) {
  const double c = Distance(corner, previous);
  const double e = Distance(next, previous);
  const double h = Distance(corner, next);
  if (c == 0 || e == 0 || h == 0) return false;
  return (h * h + c * c - e * e) / (2 * h * c) > -0.5;
}

void OffsetFilter(CBlockWriter& out, const char* command, int offset, int overcut, int dialect) {
  if (offset == 0 && overcut == 0) {
    out.PutText(command);
    return;
  }
  const DialectStrings& strings = StringsFor(dialect);
  IntPoint point = g_state.m_ptBefore;
  if (FindPoint(command, strings.penUpKeyword, point)) {
    PenUp(out, point, offset, overcut, dialect);
    out.PutText(command);
    return;
  }
  point = g_state.m_ptLast;
  if (FindPoint(command, strings.penDownKeyword, point)) {
    PenDown(out, point, offset, dialect);
    return;
  }
  if (g_state.m_bPathOpen) EndPath(out, offset, overcut, dialect);
  if (strstr(command, "SP0")) g_state.m_bPathOpen = 0;
  out.PutText(command);
}

void OffsetFilterPoint(CBlockWriter& out, int32_t kind, IntPoint point, int offset, int overcut, int dialect) {
  if (offset != 0 || overcut != 0) {
    if (kind != KIND_PEN_UP) {
      PenDown(out, point, offset, dialect);
      return;
    }
    PenUp(out, point, offset, overcut, dialect);
  }
  WriteCommand(out, kind, point, dialect);
}
