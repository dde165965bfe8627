// The in-memory job: a command list as read from the exchange file and a point list in
// which every curve has been replaced by straight segments. Both are singly linked lists
// that end with a placeholder node (kind KIND_EMPTY) which consumers skip.
#pragma once

#include <cstdint>

const int PLOT_UNITS_PER_MM = 40;  // 1016 units to the inch

enum PathKind : int32_t {
  KIND_EMPTY = -1,    // placeholder, no meaningful coordinates
  KIND_PEN_UP = 0,    // move to (x, y)
  KIND_PEN_DOWN = 1,  // line to (x, y)
  KIND_CURVE = 2,     // cubic Bezier from the current point (command list only)
};

// One command of the command list. coords holds two int32 (x, y) for a pen-up or
// pen-down, six (x1, y1, x2, y2, x3, y3) for a curve, and is null for a placeholder.
struct PathCommand {
  int32_t kind;
  int32_t* coords;
  PathCommand* next;
};
typedef PathCommand* CommandList;

// One point of the point list: a move, a line or a placeholder.
struct PlotPoint {
  int32_t kind;
  int32_t x;
  int32_t y;
  PlotPoint* next;
};
typedef PlotPoint* PointList;

// Field order matters to callers that copy it as a block: minX, maxX, maxY, minY.
struct JobBounds {
  int32_t minX;
  int32_t maxX;
  int32_t maxY;
  int32_t minY;
};

struct IntPoint {
  int32_t x;
  int32_t y;
};

// The registration marks of a drawing: the centres of the printed crosses by which the
// cutter finds a printed sheet, in the exchange file's units and coordinates (before the
// job's move to the origin). Mark n (1 to MAX_MARKS) lies at at[n - 1] when has[n - 1].
// They are never cut and take no part in the job's size.
const int MAX_MARKS = 4;
struct DrawingMarks {
  bool has[MAX_MARKS] = {false, false, false, false};
  IntPoint at[MAX_MARKS] = {};

  // True when the drawing holds at least one mark.
  bool Any() const { return has[0] || has[1] || has[2] || has[3]; }
};

// x' = trunc(m11 * x + m12 * y) + dx,  y' = trunc(m21 * x + m22 * y) + dy.
struct JobTransform {
  double m11;
  double m12;
  double m21;
  double m22;
  int32_t dx;
  int32_t dy;
};

// New placeholder node obtained through the pipeline routines, or null when out of memory.
PathCommand* NewEmptyCommand();
PlotPoint* NewEmptyPoint();

// Release a whole list through the pipeline routines and set its head to null.
void FreeCommands(CommandList& list);
void FreePoints(PointList& list);
