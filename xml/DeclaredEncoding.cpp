#include "xml/DeclaredEncoding.h"

#include <cstring>

#include "xml/XmlAttributes.h"
#include "xml/XmlScanner.h"

namespace {

// True when the `length` bytes at `a` spell the ASCII word `b` in any letter case.
bool EqualsNoCase(const char* a, int length, const char* b) {
  return NamesEqual(a, length, b, static_cast<int>(std::strlen(b)), true);
}

// Reads attributes of the markup text[from, limit) with names compared without case.
class CTagReader {
 public:
  CTagReader(const char* text, int from, int limit) : m_text(text), m_from(from), m_limit(limit) {}
  std::string Value(const char* name) {
    return Find(name) ? std::string(m_text + m_found.valueOffset, m_found.valueLength) : std::string();
  }
  bool ValueIs(const char* name, const char* lowerValue) {
    return Find(name) && EqualsNoCase(m_text + m_found.valueOffset, m_found.valueLength, lowerValue);
  }

 private:
  bool Find(const char* name) {
    int insertAt = 0;
    return FindAttribute(m_text, m_from, m_limit, name, true, m_found, insertAt);
  }
  const char* m_text;
  int m_from, m_limit;
  XmlAttribute m_found;
};

// The value after "charset=" in a Content-Type such as "text/html; charset=koi8-r".
std::string CharsetOfContentType(const std::string& content) {
  static const char WORD[] = "charset";
  const int wordLength = sizeof WORD - 1;
  for (size_t at = 0; at + wordLength <= content.size(); ++at) {
    if (!EqualsNoCase(content.data() + at, wordLength, WORD)) continue;
    size_t p = at + wordLength;
    while (p < content.size() && IsXmlSpace(content[p])) ++p;
    if (p >= content.size() || content[p] != '=') continue;
    ++p;
    while (p < content.size() && IsXmlSpace(content[p])) ++p;
    size_t end = p;
    while (end < content.size() && !IsXmlSpace(content[end]) && content[end] != ';' && content[end] != '"' &&
           content[end] != '\'')
      ++end;
    if (end > p) return content.substr(p, end - p);
  }
  return std::string();
}

}  // namespace

std::string DeclaredEncoding(const char* text, int length) {
  bool seenStartTag = false;
  for (int offset = 0; offset < length;) {
    const XmlNode node = ScanNode(text, length, offset, nullptr);
    if (node.kind == XmlEndOfText || node.length <= 0) break;
    offset = node.offset + node.length;
    const char* name = text + node.offset + (node.kind == XmlEndTag ? 2 : 1);
    if (node.kind == XmlProcessingInstruction && node.offset == 0) {
      const int targetLength = TagNameLength(name + 1, text + length);
      if (!EqualsNoCase(name + 1, targetLength, "xml")) continue;
      const int limit = node.offset + node.length - 2;  // the closing "?>"
      return CTagReader(text, node.offset + 2 + targetLength, limit).Value("encoding");
    }
    if (node.kind == XmlEndTag && EqualsNoCase(name, node.nameLength, "head")) break;
    if (node.kind != XmlStartTag) continue;
    if (!seenStartTag) {
      seenStartTag = true;
      if (!EqualsNoCase(name, node.nameLength, "html")) break;
      continue;
    }
    if (!EqualsNoCase(name, node.nameLength, "meta")) continue;
    CTagReader meta(text, node.offset + 1 + node.nameLength, node.offset + node.length - 1);
    if (!meta.ValueIs("http-equiv", "content-type")) continue;
    const std::string charset = CharsetOfContentType(meta.Value("content"));
    if (!charset.empty()) return charset;
  }
  return std::string();
}
