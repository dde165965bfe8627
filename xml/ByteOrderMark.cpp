#include "xml/ByteOrderMark.h"

#include <cstring>

#include "xml/DocumentFlags.h"

const ByteOrderMark ByteOrderMarks[BYTE_ORDER_MARK_COUNT] = {
    {"\xEF\xBB\xBF", 3, "UTF-8", DocBomUtf8, 1},
    {"\xFF\xFE", 2, "UTF-16LE", DocBomUtf16Le, 2},
    {"\xFE\xFF", 2, "UTF-16BE", DocBomUtf16Be, 2},
};

const ByteOrderMark* FindByteOrderMark(const char* data, size_t size) {
  for (const ByteOrderMark& mark : ByteOrderMarks)
    if (size >= mark.length && std::memcmp(data, mark.bytes, mark.length) == 0) return &mark;
  return nullptr;
}

const ByteOrderMark* Utf16ByFirstCharacter(const char* data, size_t size) {
  if (size < 2) return nullptr;
  if (data[0] == '<' && data[1] == 0) return &ByteOrderMarks[1];
  if (data[0] == 0 && data[1] == '<') return &ByteOrderMarks[2];
  return nullptr;
}

const ByteOrderMark* ByteOrderMarkOfFlags(unsigned flags) {
  for (const ByteOrderMark& mark : ByteOrderMarks)
    if (flags & mark.flag) return &mark;
  return nullptr;
}
