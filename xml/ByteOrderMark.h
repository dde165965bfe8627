// The byte order marks a text file may begin with, in the order they are looked for.
#pragma once

#include <cstddef>

struct ByteOrderMark {
  const char* bytes;
  size_t length;
  const char* encoding;
  unsigned flag;  // its DocFlags bit
  int unitWidth;
};

const int BYTE_ORDER_MARK_COUNT = 3;
extern const ByteOrderMark ByteOrderMarks[BYTE_ORDER_MARK_COUNT];

// The first mark in table order that `data` begins with, or null.
const ByteOrderMark* FindByteOrderMark(const char* data, size_t size);

// The UTF-16 mark of a text without a mark whose first character is "<": the bytes "<"
// and 0 give the little-endian mark, 0 and "<" the big-endian one; any other text gives null.
const ByteOrderMark* Utf16ByFirstCharacter(const char* data, size_t size);

// The first mark in table order whose bit is set in `flags`, or null.
const ByteOrderMark* ByteOrderMarkOfFlags(unsigned flags);
