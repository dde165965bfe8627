#include "xml/XmlScanner.h"

#include <cstring>

#include "xml/XmlResult.h"

namespace {

void SyntaxEntry(std::string* log, const char* name, int offset) {
  if (log) WriteResultEntry(*log, name, nullptr, 0, offset);
}

XmlNode Unterminated(std::string* log, const char* type, int offset, int length) {
  if (log) WriteResultEntry(*log, "unterminated_tag_syntax", type, ResultType, offset);
  XmlNode node;
  node.kind = XmlSyntaxError;
  node.offset = offset;
  node.length = length - offset;
  return node;
}

// An error node from `offset`: runs from `from` on to the next ">" (included) or stops
// before the next "<".
XmlNode ErrorNode(const char* text, int length, int offset, int from) {
  int i = from;
  while (i < length && text[i] != '>' && text[i] != '<') ++i;
  if (i < length && text[i] == '>') ++i;
  XmlNode node;
  node.kind = XmlSyntaxError;
  node.offset = offset;
  node.length = i - offset;
  return node;
}

XmlNode Node(int kind, int offset, int end) {
  XmlNode node;
  node.kind = kind;
  node.offset = offset;
  node.length = end - offset;
  return node;
}

// End (one past the ">") of the first `terminator` (a few bytes ending in ">") that lies
// wholly at or after `from`, or -1. Each ">" is found first and the bytes before it
// compared, so the search runs at memchr speed.
int FindTerminator(const char* text, int length, int from, const char* terminator) {
  const int size = static_cast<int>(strlen(terminator));
  int i = from + size - 1;
  while (i < length) {
    const void* found = memchr(text + i, '>', length - i);
    if (!found) return -1;
    i = static_cast<int>(static_cast<const char*>(found) - text);
    if (memcmp(text + i - size + 1, terminator, size - 1) == 0) return i + 1;
    ++i;
  }
  return -1;
}

int ScanName(const char* text, int length, int from) {
  int i = from;
  while (i < length && !IsXmlSpace(text[i]) && text[i] != '/' && text[i] != '>') ++i;
  return i - from;
}

XmlNode ScanStartTag(const char* text, int length, int offset, std::string* log) {
  int i = offset + 1;
  const int nameLength = ScanName(text, length, i);
  i += nameLength;
  bool afterEquals = false;
  bool inUnquotedValue = false;
  for (; i < length; ++i) {
    const unsigned char c = text[i];
    if (c == '>') {
      XmlNode node = Node(XmlStartTag, offset, i + 1);
      node.nameLength = nameLength;
      // A "/" that ends an unquoted value belongs to the value.
      node.empty = text[i - 1] == '/' && !inUnquotedValue;
      return node;
    }
    if (inUnquotedValue) {
      inUnquotedValue = !IsXmlSpace(c);
    } else if (afterEquals) {
      if (IsXmlSpace(c)) continue;
      afterEquals = false;
      if (c == '"' || c == '\'') {
        const void* close = memchr(text + i + 1, c, length - i - 1);
        if (!close) break;
        i = static_cast<int>(static_cast<const char*>(close) - text);
      } else {
        inUnquotedValue = true;
      }
    } else if (c == '=') {
      afterEquals = true;
    }
  }
  return Unterminated(log, "start_tag", offset, length);
}

XmlNode ScanEndTag(const char* text, int length, int offset, std::string* log) {
  const void* close = memchr(text + offset + 2, '>', length - offset - 2);
  if (!close) return Unterminated(log, "end_tag", offset, length);
  XmlNode node = Node(XmlEndTag, offset, static_cast<int>(static_cast<const char*>(close) - text) + 1);
  node.nameLength = ScanName(text, length, offset + 2);
  return node;
}

// "<!D" up to the first ">" outside nested markup. Inside, "<!" opens a comment or one of
// the declarations (ATTLIST, ELEMENT, ENTITY, NOTATION); quoted literals are skipped.
XmlNode ScanDocumentType(const char* text, int length, int offset, std::string* log) {
  int depth = 0;
  int i = offset + 3;
  while (i < length) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      const void* close = memchr(text + i + 1, c, length - i - 1);
      if (!close) break;
      i = static_cast<int>(static_cast<const char*>(close) - text) + 1;
      continue;
    }
    if (c == '>') {
      if (depth == 0) return Node(XmlDocumentType, offset, i + 1);
      --depth;
    } else if (c == '<') {
      if (i + 2 >= length) break;
      if (text[i + 1] == '!') {
        const char kind = text[i + 2];
        if (kind == '-') {
          const int end = FindTerminator(text, length, i + 4, "-->");
          if (end < 0) break;
          i = end;
          continue;
        }
        if (kind != 'A' && kind != 'E' && kind != 'N') {
          SyntaxEntry(log, "doctype_tag_syntax", i);
          return ErrorNode(text, length, offset, i + 2);
        }
      }
      ++depth;
    }
    ++i;
  }
  return Unterminated(log, "document_type", offset, length);
}

// "<!-" must go on with "-" (a comment), "<![" with "C" (a CDATA section).
struct MarkupOpener {
  char second, third;
  const char* syntaxEntry;
  const char* type;
  const char* terminator;
  int kind;
};
const MarkupOpener MarkupOpeners[] = {
    {'-', '-', "comment_tag_syntax", "comment", "-->", XmlComment},
    {'[', 'C', "cdata_section_syntax", "cdata_section", "]]>", XmlCdata},
};

XmlNode ScanExclamation(const char* text, int length, int offset, std::string* log) {
  if (offset + 2 >= length) return Unterminated(log, "tag", offset, length);
  const char second = text[offset + 2];
  for (const MarkupOpener& o : MarkupOpeners) {
    if (second != o.second) continue;
    if (offset + 3 >= length) return Unterminated(log, o.type, offset, length);
    if (text[offset + 3] != o.third) {
      SyntaxEntry(log, o.syntaxEntry, offset);
      return ErrorNode(text, length, offset, offset + 3);
    }
    const int end = FindTerminator(text, length, offset + 4, o.terminator);
    return end < 0 ? Unterminated(log, o.type, offset, length) : Node(o.kind, offset, end);
  }
  if (second == 'D') return ScanDocumentType(text, length, offset, log);
  SyntaxEntry(log, "exclamation_tag_syntax", offset);
  return ErrorNode(text, length, offset, offset + 2);
}

}  // namespace

XmlNode ScanNode(const char* text, int length, int offset, std::string* log) {
  if (offset >= length) return Node(XmlEndOfText, offset, offset);
  if (text[offset] != '<') {
    const void* next = memchr(text + offset, '<', length - offset);
    const int end = next ? static_cast<int>(static_cast<const char*>(next) - text) : length;
    int i = offset;
    while (i < end && IsXmlSpace(text[i])) ++i;
    return Node(i == end ? XmlWhitespace : XmlText, offset, end);
  }
  if (offset + 1 >= length) return Unterminated(log, "tag", offset, length);
  const unsigned char c = text[offset + 1];
  if (c == '/') return ScanEndTag(text, length, offset, log);
  if (c == '?') {
    const int end = FindTerminator(text, length, offset + 2, "?>");
    return end < 0 ? Unterminated(log, "processing_instruction", offset, length)
                   : Node(XmlProcessingInstruction, offset, end);
  }
  if (c == '!') return ScanExclamation(text, length, offset, log);
  if (IsNameStart(c)) return ScanStartTag(text, length, offset, log);
  SyntaxEntry(log, "first_tag_syntax", offset);
  return ErrorNode(text, length, offset, offset + 1);
}

int TagNameLength(const char* name, const char* end) {
  const char* p = name;
  for (; p < end; ++p) {
    const unsigned char c = *p;
    if (IsXmlSpace(c) || strchr("!\"'/;<=>?\\", c) != nullptr) break;
  }
  return static_cast<int>(p - name);
}

bool NamesEqual(const char* a, int aLength, const char* b, int bLength, bool foldCase) {
  return aLength == bLength && CompareNames(a, aLength, b, bLength, foldCase) == 0;
}

// Compares the names byte by byte, each letter folded to lower case while folding lasts. A
// byte of 0x80 or above ends the folding; it is equal in both names when it is reached, so
// folding ends at the same place in both.
int CompareNames(const char* a, int aLength, const char* b, int bLength, bool foldCase) {
  bool exact = !foldCase;
  const int shorter = aLength < bLength ? aLength : bLength;
  for (int i = 0; i < shorter; ++i) {
    unsigned char x = a[i];
    unsigned char y = b[i];
    if (!exact) {
      if (x >= 'A' && x <= 'Z') x += 32;
      if (y >= 'A' && y <= 'Z') y += 32;
    }
    if (x != y) return x < y ? -1 : 1;
    if (x >= 0x80) exact = true;
  }
  return aLength < bLength ? -1 : aLength > bLength ? 1 : 0;
}

bool NameMatches(const char* tagName, int tagNameLength, const char* given, bool foldCase) {
  int length = 0;
  while (given[length] && !strchr(" /=[]", given[length])) ++length;
  return NamesEqual(tagName, tagNameLength, given, length, foldCase);
}
