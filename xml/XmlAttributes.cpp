#include "xml/XmlAttributes.h"

#include <cstring>

#include "xml/XmlScanner.h"

namespace {

// Whitespace, "/", "=", ">" or "?". Any other byte, a zero byte too, belongs to a name, so
// that every step of the scan moves on.
bool EndsAttributeName(unsigned char c) { return IsXmlSpace(c) || c == '/' || c == '=' || c == '>' || c == '?'; }

}  // namespace

bool FindAttribute(const char* text, int from, int limit, const char* name, bool foldCase, XmlAttribute& found,
                   int& insertAt) {
  insertAt = from;
  int i = from;
  while (i < limit) {
    const unsigned char c = text[i];
    if (EndsAttributeName(c)) {
      ++i;
      continue;
    }
    XmlAttribute a;
    a.nameOffset = i;
    while (i < limit && !EndsAttributeName(text[i])) ++i;
    a.nameLength = i - a.nameOffset;
    a.spanStart = a.spanEnd = a.valueOffset = i;
    int j = i;
    while (j < limit && IsXmlSpace(text[j])) ++j;
    if (j < limit && text[j] == '=') {
      ++j;
      while (j < limit && IsXmlSpace(text[j])) ++j;
      a.spanStart = j;
      if (j < limit && (text[j] == '"' || text[j] == '\'')) {
        a.valueOffset = j + 1;
        const void* close = memchr(text + a.valueOffset, text[j], limit - a.valueOffset);
        a.valueLength = (close ? static_cast<int>(static_cast<const char*>(close) - text) : limit) - a.valueOffset;
        a.spanEnd = close ? a.valueOffset + a.valueLength + 1 : limit;
      } else {
        a.valueOffset = j;
        while (j < limit && !IsXmlSpace(text[j]) && text[j] != '>') ++j;
        a.valueLength = j - a.valueOffset;
        a.spanEnd = j;
      }
      i = a.spanEnd;
    }
    insertAt = i;
    if (NameMatches(text + a.nameOffset, a.nameLength, name, foldCase)) {
      found = a;
      return true;
    }
  }
  return false;
}
