#include "pipeline/PreviewScene.h"

#include <algorithm>

#include "pipeline/Geometry.h"
#include "pipeline/JobFileWriter.h"

CPreviewScene::CPreviewScene(const CPlotJob& job)
    : m_pPoints(job.m_pPoints), m_bounds(job.m_bounds), m_marks(job.MarkPoints()), m_alsoFit(m_marks) {
  if (!job.m_placement) return;
  // The cutter's (first, second) of every move, line and mark, kept in x and y until the
  // largest second is known.
  for (const PlotPoint* p = job.m_pPoints; p; p = p->next) {
    if (p->kind != KIND_PEN_UP && p->kind != KIND_PEN_DOWN) continue;
    const IntPoint at = PlacedJobFilePoint(job, p->x, p->y, false);
    m_placed.push_back(PlotPoint{p->kind, at.x, at.y, nullptr});
  }
  for (IntPoint& mark : m_marks) mark = PlacedJobFilePoint(job, mark.x, mark.y, false);
  int64_t right = 0, top = 0;  // the largest second and first, the origin's (0, 0) among them
  const auto take = [&right, &top](int32_t first, int32_t second) {
    right = std::max<int64_t>(right, second);
    top = std::max<int64_t>(top, first);
  };
  for (const PlotPoint& p : m_placed) take(p.x, p.y);
  for (const IntPoint& m : m_marks) take(m.x, m.y);
  const auto shown = [right](int32_t first, int32_t second) { return IntPoint{ClampToCoord(right - second), first}; };
  for (PlotPoint& p : m_placed) {
    const IntPoint at = shown(p.x, p.y);
    p.x = at.x;
    p.y = at.y;
  }
  for (size_t i = 1; i < m_placed.size(); ++i) m_placed[i - 1].next = &m_placed[i];
  m_pPoints = m_placed.empty() ? nullptr : m_placed.data();
  for (IntPoint& mark : m_marks) mark = shown(mark.x, mark.y);
  m_origin = shown(0, 0);
  m_alsoFit = m_marks;
  m_alsoFit.push_back(*m_origin);
  m_bounds = JobBounds{0, ClampToCoord(right), ClampToCoord(top), 0};
}
