// The byte order marks a text file may begin with, in the order they are looked for.
#pragma once

#include <cstddef>

// The byte-order-mark bits, shared with the document's flags.
const int FLAG_BOM_UTF16LE = 0x1;
const int FLAG_BOM_UTF8 = 0x4;
const int FLAG_BOM_UTF16BE = 0x80;
const int FLAG_BOM_UTF16 = FLAG_BOM_UTF16LE | FLAG_BOM_UTF16BE;  // either means 16-bit units
const int FLAG_BOM_ANY = FLAG_BOM_UTF16LE | FLAG_BOM_UTF8 | FLAG_BOM_UTF16BE;

struct ByteOrderMark {
  const char* bytes;
  size_t length;
  const char* encoding;
  int flag;
  int unitWidth;
};

const int BYTE_ORDER_MARK_COUNT = 3;
extern const ByteOrderMark ByteOrderMarks[BYTE_ORDER_MARK_COUNT];

// The first mark in table order that `data` begins with, or null.
const ByteOrderMark* FindByteOrderMark(const char* data, size_t size);

// The first mark in table order whose bit is set in `flags`, or null.
const ByteOrderMark* ByteOrderMarkOfFlags(int flags);
