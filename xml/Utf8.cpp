#include "xml/Utf8.h"

Utf8Char DecodeUtf8(const unsigned char* p, size_t left) {
  const unsigned char lead = p[0];
  if (lead < 0x80) return {1, true, lead};
  size_t length;
  char32_t value;
  if (!(lead & 0x20)) {
    length = 2;
    value = lead & 0x1F;
  } else if (!(lead & 0x10)) {
    length = 3;
    value = lead & 0x0F;
  } else if (!(lead & 0x08)) {
    length = 4;
    value = lead & 0x07;
  } else {
    return {1, false, 0};
  }
  for (size_t i = 1; i < length; ++i) {
    if (i >= left || p[i] < 0x80) return {i, false, 0};
    value = value << 6 | (p[i] & 0x3F);
  }
  return {length, true, value};
}

bool IsUtf8(const char* bytes, size_t count) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < count;) {
    const Utf8Char c = DecodeUtf8(p + i, count - i);
    if (!c.valid) return false;
    i += c.length;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | codePoint >> 6);
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | codePoint >> 12);
    out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | codePoint >> 18);
    out += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}
