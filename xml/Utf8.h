// The library's own UTF-8 decoder and encoder.
#pragma once

#include <cstddef>
#include <string>

// One decoded sequence: its length in bytes and, when valid, its code point.
struct Utf8Char {
  size_t length;  // bytes the sequence spans (an invalid one: the bytes to step over)
  bool valid;
  char32_t codePoint;
};

// Decodes the sequence at `p` (`left` bytes available, at least 1). The length comes from
// bits 5, 4 and 3 of a lead byte of 0x80 or above (2, 3 or 4 bytes; 0xB8-0xBF and
// 0xF8-0xFF are invalid); each following byte need only be 0x80 or above. A sequence cut
// short by a byte below 0x80 or by the end of the data is invalid. Overlong forms pass.
Utf8Char DecodeUtf8(const unsigned char* p, size_t left);

// True when every sequence of the `count` bytes decodes.
bool IsUtf8(const char* bytes, size_t count);

// Appends the one to four UTF-8 bytes of `codePoint` (at most 0x10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);
