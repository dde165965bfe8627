#include "pipeline/PointListBuilder.h"

void CPointListBuilder::Add(int32_t kind, IntPoint at) {
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

PointList CPointListBuilder::Take() {
  if (!m_head && !m_failed) m_head = NewEmptyPoint();
  PointList list = m_head;
  m_head = nullptr;
  m_tail = nullptr;
  return list;
}
