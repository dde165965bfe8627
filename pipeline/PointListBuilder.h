// Builds a new point list one point at a time, each in a node of its own, for the steps
// that make a job's points anew (the cut order, the panels).
#pragma once

#include "pipeline/Geometry.h"
#include "pipeline/JobModel.h"

class CPointListBuilder {
 public:
  CPointListBuilder() = default;
  CPointListBuilder(const CPointListBuilder&) = delete;
  CPointListBuilder& operator=(const CPointListBuilder&) = delete;
  ~CPointListBuilder() { FreePoints(m_head); }

  // Appends a move or a line; once memory has run out, nothing more is added.
  void Add(int32_t kind, IntPoint at);
  // The list, or null when memory ran out (everything built is released). A list without
  // a point is one placeholder, as a job without drawing commands is.
  PointList Take();

 private:
  PointList m_head = nullptr;
  PlotPoint* m_tail = nullptr;
  bool m_failed = false;
};
