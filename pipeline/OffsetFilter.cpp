#include "pipeline/OffsetFilter.h"

#include <cmath>
#include <cstring>

#include "pipeline/BlockWriter.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/Geometry.h"
#include "pipeline/ScanNumbers.h"

namespace {

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
void EndPath(const OffsetFilterState& s, CBlockWriter& out, int a, int b, int dialect) {
  const IntPoint start = s.pathStart, first = s.firstEnd;
  const IntPoint last = s.last, beforeLast = s.beforeLast;
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
void PenUp(OffsetFilterState& s, CBlockWriter& out, IntPoint p, int a, int b, int dialect) {
  s.before = p;
  if (s.pathOpen) EndPath(s, out, a, b, dialect);
  s.pathStart = s.beforeLast = s.last = p;
  s.pathOpen = false;
  s.startPending = true;
}

void PenDown(OffsetFilterState& s, CBlockWriter& out, IntPoint target, int a, int dialect) {
  s.beforeLast = s.last;
  s.last = target;
  if (!s.pathOpen) {
    s.corner = s.firstEnd = target;
    s.pathOpen = true;
    return;
  }
  if (s.startPending) {
    WritePoint(out, s.before, dialect);
    s.startPending = false;
  }
  const IntPoint corner = s.corner, before = s.before;
  if (a && IsSharpCorner(corner, before, target)) {
    WritePoint(out, Extend(before, corner, a), dialect);
    WritePoint(out, Advance(corner, target, a), dialect);
  } else {
    WritePoint(out, corner, dialect);
  }
  s.before = corner;
  s.corner = target;
}

}  // namespace

bool IsSharpCorner(IntPoint corner, IntPoint previous, IntPoint next) {
  const double c = Distance(corner, previous);
  const double e = Distance(next, previous);
  const double h = Distance(corner, next);
  if (c == 0 || e == 0 || h == 0) return false;
  return (h * h + c * c - e * e) / (2 * h * c) > -0.5;
}

void OffsetFilter(OffsetFilterState& state, CBlockWriter& out, const char* command, int offset, int overcut,
                  int dialect) {
  if (offset == 0 && overcut == 0) {
    out.PutText(command);
    return;
  }
  const DialectStrings& strings = StringsFor(dialect);
  IntPoint point = state.before;
  if (FindPoint(command, strings.penUpKeyword, point)) {
    PenUp(state, out, point, offset, overcut, dialect);
    out.PutText(command);
    return;
  }
  point = state.last;
  if (FindPoint(command, strings.penDownKeyword, point)) {
    PenDown(state, out, point, offset, dialect);
    return;
  }
  if (state.pathOpen) EndPath(state, out, offset, overcut, dialect);
  if (strstr(command, "SP0")) state.pathOpen = false;
  out.PutText(command);
}

void OffsetFilterPoint(OffsetFilterState& state, CBlockWriter& out, int32_t kind, IntPoint point, int offset,
                       int overcut, int dialect) {
  if (offset != 0 || overcut != 0) {
    if (kind != KIND_PEN_UP) {
      PenDown(state, out, point, offset, dialect);
      return;
    }
    PenUp(state, out, point, offset, overcut, dialect);
  }
  WriteCommand(out, kind, point, dialect);
}
