// The node scanner: splits XML text into nodes, one at a time from an offset, and the
// name rules shared by the parser, the navigation and the attribute reader.
//
//   <?xml version="1.0"?>          processing instruction
//   <!DOCTYPE a [<!ENTITY x "y">]>  document type
//   <a href='1>2'>                 start tag (the quoted ">" does not end it)
//   text &amp; more                text
//   <b/>                           start tag of an empty element
//   <![CDATA[ <raw> ]]>            CDATA section
//   <!-- note -->                  comment
//   </a>                           end tag
#pragma once

#include <string>

// Kinds of node returned by ScanNode.
enum XmlNodeKind {
  XmlEndOfText = -2,    // the offset is at the end of the text
  XmlSyntaxError = -1,  // an entry has been written; the node runs to the next ">" or stops before a "<"
  XmlEndTag = 0,
  XmlStartTag = 1,
  XmlText = 2,
  XmlWhitespace = 4,
  XmlCdata = 8,
  XmlProcessingInstruction = 16,
  XmlComment = 32,
  XmlDocumentType = 64,
};

struct XmlNode {
  int kind = XmlEndOfText;
  int offset = 0;      // first byte of the node
  int length = 0;      // bytes of the node
  int nameLength = 0;  // start and end tags: bytes of the name after "<" or "</"
  bool empty = false;  // start tag of an empty element ('<a/>')
};

// Scans the node that begins at `offset` in text[0, length). Syntax problems are written
// as result entries into `log` (none when `log` is null) and give an XmlSyntaxError node.
XmlNode ScanNode(const char* text, int length, int offset, std::string* log);

inline bool IsXmlSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// ":", "A" to "Z", "_", "a" up to 0x7F, or any byte of 0x80 and above.
inline bool IsNameStart(unsigned char c) { return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || c >= 'a'; }

// Length of the tag name at `name`: the run up to whitespace, "!", a quote, "/", ";",
// "<", "=", ">", "?", "\" or `end`.
int TagNameLength(const char* name, const char* end);

// True when the two names are equal; with `foldCase`, ASCII letters match either case
// until a byte of 0x80 or above has matched.
bool NamesEqual(const char* a, int aLength, const char* b, int bLength, bool foldCase);

// Negative, 0 or positive as name a sorts before, with or after name b, in an order in which
// exactly the names NamesEqual finds equal compare equal.
int CompareNames(const char* a, int aLength, const char* b, int bLength, bool foldCase);

// True when the name given (ending at its end of string, " ", "/", "=", "[" or "]")
// equals the tag name of `tagNameLength` bytes at `tagName`. With `foldCase`, ASCII
// letters match either case until a byte of 0x80 or above has matched.
bool NameMatches(const char* tagName, int tagNameLength, const char* given, bool foldCase);
