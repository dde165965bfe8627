#include "xml/ElementTable.h"

#include <cstdlib>
#include <cstring>
#include <new>

ElementTable::~ElementTable() {
  const int segments = (m_capacity + SegmentSize - 1) >> SegmentShift;
  for (int i = 0; i < segments; ++i) free(m_segments[i]);
  free(m_segments);
}

void ElementTable::ResizeSegment(int segment, int oldRecords, int newRecords) {
  if (segment >= m_segmentCapacity) {
    const int room = 2 * segment + 4;
    void* grown = realloc(m_segments, sizeof(ElementRecord*) * room);
    if (!grown) throw std::bad_alloc();
    m_segments = static_cast<ElementRecord**>(grown);
    for (int i = m_segmentCapacity; i < room; ++i) m_segments[i] = nullptr;
    m_segmentCapacity = room;
  }
  void* records = realloc(m_segments[segment], sizeof(ElementRecord) * newRecords);
  if (!records) throw std::bad_alloc();
  m_segments[segment] = static_cast<ElementRecord*>(records);
  memset(m_segments[segment] + oldRecords, 0, sizeof(ElementRecord) * (newRecords - oldRecords));
}

void ElementTable::Grow(int records) {
  if (records <= m_capacity) return;
  const int inLast = m_capacity & (SegmentSize - 1);
  int segment = m_capacity >> SegmentShift;
  if (inLast != 0) {
    // The last segment is partly allocated: enlarge it, at most to a full segment.
    const int wanted = records - (segment << SegmentShift);
    const int size = wanted < SegmentSize ? wanted : SegmentSize;
    ResizeSegment(segment, inLast, size);
    m_capacity = (segment << SegmentShift) + size;
    if (size < SegmentSize || records <= m_capacity) return;
    ++segment;
  }
  const int wanted = records - m_capacity;
  const int size = wanted < SegmentSize ? wanted : SegmentSize;
  ResizeSegment(segment, 0, size);
  m_capacity += size;
}

uint32_t PackTagLengths(int startTag, int endTag) {
  const uint32_t s = startTag < static_cast<int>(MaxStartTagLength) ? startTag : MaxStartTagLength;
  const uint32_t e = endTag < static_cast<int>(MaxEndTagLength) ? endTag : MaxEndTagLength;
  return s | (e << 22);
}

void SetLevel(ElementRecord& r, int level) {
  const uint32_t value = level < 0 ? 0 : level < static_cast<int>(ElementLevelMask) ? level : ElementLevelMask;
  r.flags = (r.flags & ~ElementLevelMask) | value;
}
