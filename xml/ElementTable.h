// The element index of an XML document: one fixed record of eight 32-bit words per
// element, kept in segments of 65,536 records so that growing never moves more than the
// last segment and an index is found by shift and mask.
#pragma once

#include <cstdint>

struct ElementRecord {
  int32_t start;        // offset of the element's "<" in the text
  int32_t length;       // bytes from "<" to the end of its end tag (or of its only tag)
  uint32_t tagLengths;  // bits 0-21 start-tag length, bits 22-31 end-tag length
  uint32_t flags;       // bits 0-15 nesting level, and the Element* flags below
  int32_t parent;       // 0 for a top-level element
  int32_t firstChild;   // 0 = none
  int32_t next;         // next sibling, 0 = last; the free chain runs through it too
  int32_t previous;     // previous sibling; in the first child: the last sibling
};

// Flags word of ElementRecord.
const uint32_t ElementLevelMask = 0xFFFF;
const uint32_t ElementFree = 0x20000;             // removed; chained from the free head
const uint32_t ElementFirstChild = 0x80000;       // first child of its parent
const uint32_t ElementNoEndTag = 0x100000;        // ends with its start tag
const uint32_t ElementHasError = 0x200000;        // a syntax error was met inside it
const uint32_t DocumentNotWellFormed = 0x800000;  // root record only

// Widest values the tag-length fields hold; a tag at least this long is stored as this
// value and measured again from the text when needed.
const uint32_t MaxStartTagLength = 0x3FFFFF;
const uint32_t MaxEndTagLength = 0x3FF;

const int SegmentShift = 16;
const int SegmentSize = 1 << SegmentShift;

class ElementTable {
 public:
  ElementTable() = default;
  ~ElementTable();
  ElementTable(const ElementTable&) = delete;
  ElementTable& operator=(const ElementTable&) = delete;

  ElementRecord& operator[](int index) { return m_segments[index >> SegmentShift][index & (SegmentSize - 1)]; }
  const ElementRecord& operator[](int index) const {
    return m_segments[index >> SegmentShift][index & (SegmentSize - 1)];
  }

  // Records the table can hold without growing.
  int Capacity() const { return m_capacity; }

  // Grows the capacity towards `records`: the last segment is enlarged, and when the
  // request reaches past it, the last segment is filled out and at most one new segment
  // started (the request is cut at that segment's end). New records are zeroed.
  void Grow(int records);

 private:
  void ResizeSegment(int segment, int oldRecords, int newRecords);

  ElementRecord** m_segments = nullptr;
  int m_capacity = 0;
  int m_segmentCapacity = 0;
};

// Calls visit(index) for `root` and every record below it, in tree order. The visit must
// leave the links (firstChild, next, parent) alone.
template <class Visit>
void ForEachInSubtree(ElementTable& table, int root, Visit visit) {
  for (int x = root;;) {
    visit(x);
    if (table[x].firstChild) {
      x = table[x].firstChild;
      continue;
    }
    while (x != root && table[x].next == 0) x = table[x].parent;
    if (x == root) return;
    x = table[x].next;
  }
}

// Start-tag and end-tag lengths packed into the tagLengths word; values beyond the
// fields are saturated.
uint32_t PackTagLengths(int startTag, int endTag);
inline int StoredStartTagLength(const ElementRecord& r) { return static_cast<int>(r.tagLengths & MaxStartTagLength); }
inline int StoredEndTagLength(const ElementRecord& r) { return static_cast<int>(r.tagLengths >> 22); }
inline int LevelOf(const ElementRecord& r) { return static_cast<int>(r.flags & ElementLevelMask); }
// Sets the level, saturating at the widest value of the field so that a deeper nesting
// never spills into the flag bits.
void SetLevel(ElementRecord& r, int level);
