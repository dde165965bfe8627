// Editing a CXmlDocument: every edit is one replacement in the text followed by a walk
// that shifts the offsets of the elements after it, so the index stays valid without
// parsing again.
#include <cstring>
#include <vector>

#include "xml/XmlAttributes.h"
#include "xml/XmlDocument.h"
#include "xml/XmlEscape.h"
#include "xml/XmlScanner.h"

namespace {

// A name that reads back as exactly itself: it starts like a tag name and holds none of
// the bytes that end one.
bool IsValidTagName(const char* name) {
  const size_t length = strlen(name);
  return length > 0 && IsNameStart(name[0]) && TagNameLength(name, name + length) == static_cast<int>(length);
}

bool IsValidAttributeName(const char* name) {
  if (!*name) return false;
  for (const char* p = name; *p; ++p) {
    if (IsXmlSpace(*p) || strchr("/=>?<\"'", *p)) return false;
  }
  return true;
}

}  // namespace

struct CXmlDocument::Place {
  int offset;      // where the new text goes
  int previous;    // the sibling the new record follows; 0 = first child
  bool intoEmpty;  // the parent has no content yet and is rewritten around the new text
};

void CXmlDocument::GrowForNextRecord() {
  if (m_nextFree < m_elements->Capacity()) return;
  const int grown = m_nextFree + m_nextFree / 2;
  m_elements->Grow(grown > m_nextFree ? grown : m_nextFree + 1);
}

void CXmlDocument::LinkAfter(int parent, int record, int previous) {
  ElementTable& t = *m_elements;
  ElementRecord& r = t[record];
  r.parent = parent;
  const int first = t[parent].firstChild;
  if (previous == 0) {
    r.flags |= ElementFirstChild;
    r.next = first;
    if (first) {
      r.previous = t[first].previous;
      t[first].flags &= ~ElementFirstChild;
      t[first].previous = record;
    } else {
      r.previous = record;
    }
    t[parent].firstChild = record;
    return;
  }
  r.flags &= ~ElementFirstChild;
  r.previous = previous;
  r.next = t[previous].next;
  if (r.next) {
    t[r.next].previous = record;
  } else {
    t[first].previous = record;
  }
  t[previous].next = record;
}

int CXmlDocument::Unlink(int record) {
  ElementTable& t = *m_elements;
  const ElementRecord& r = t[record];
  const int first = t[r.parent].firstChild;
  if (record == first) {
    t[r.parent].firstChild = r.next;
    if (r.next) {
      t[r.next].flags |= ElementFirstChild;
      t[r.next].previous = r.previous;
    }
    return 0;
  }
  t[r.previous].next = r.next;
  if (r.next) {
    t[r.next].previous = r.previous;
  } else {
    t[first].previous = r.previous;
  }
  return r.previous;
}

void CXmlDocument::ShiftSubtree(int record, int delta) {
  ElementTable& t = *m_elements;
  ForEachInSubtree(t, record, [&t, delta](int x) { t[x].start += delta; });
}

// After `delta` bytes changed at `editOffset` inside `parent`'s own content or tags: the
// parent and its ancestors grow, and everything that begins after the edit moves.
void CXmlDocument::ShiftIndex(int parent, int editOffset, int delta) {
  if (delta == 0) return;
  ElementTable& t = *m_elements;
  for (int c = t[parent].firstChild; c; c = t[c].next) {
    if (t[c].start >= editOffset) ShiftSubtree(c, delta);
  }
  for (int x = parent;; x = t[x].parent) {
    t[x].length += delta;
    if (x == 0) break;
    for (int s = t[x].next; s; s = t[s].next) ShiftSubtree(s, delta);
  }
}

// The current node moves with the text after the edit; a node the edit reaches into is no
// longer what the text holds there, so the position falls back to its element. The
// callers that rewrite the node itself set it again afterwards.
void CXmlDocument::ReplaceText(int parent, int offset, int length, const std::string& replacement) {
  const int delta = static_cast<int>(replacement.size()) - length;
  m_text.replace(offset, length, replacement);
  ShiftIndex(parent, offset + length, delta);
  if (m_nodeLength == 0 || m_nodeOffset + m_nodeLength <= offset) return;
  if (m_nodeOffset >= offset + length) {
    m_nodeOffset += delta;
  } else {
    SetPosition(m_parent, m_current, m_child, m_current ? NodeElement : NodeNone);
  }
}

// Puts `content` between the element's tags, giving an empty element ('<a/>', '<a />')
// or one without end tag a separate end tag.
void CXmlDocument::ReplaceContent(int element, const std::string& content) {
  ElementRecord& r = (*m_elements)[element];
  const std::string name = ElementName(element);
  const int startTag = StartTagLength(element);
  const int endTag = static_cast<int>(name.size()) + 3;
  if (r.flags & ElementNoEndTag) {
    ReplaceText(element, r.start + r.length, 0, content + "</" + name + ">");
    r.flags &= ~ElementNoEndTag;
    r.tagLengths = PackTagLengths(startTag, endTag);
  } else if (EndTagLength(element) == 0) {
    // The "/" of "/>" becomes the start tag's ">", and the old ">" closes the end tag.
    const int slash = r.start + r.length - 2;
    ReplaceText(element, slash, 1, ">" + content + "</" + name);
    r.tagLengths = PackTagLengths(slash + 1 - r.start, endTag);
  } else {
    const int from = ContentStart(element);
    ReplaceText(element, from, ContentEnd(element) - from, content);
  }
}

CXmlDocument::Place CXmlDocument::ChoosePlace(int parent, int current, int flags) const {
  const ElementTable& t = *m_elements;
  const bool before = (flags & AddBefore) != 0;
  // Past the line break and indentation that lead to the next tag, if one follows.
  auto beforeNextTag = [this](int offset) {
    int i = offset;
    while (i < static_cast<int>(m_text.size()) && IsXmlSpace(m_text[i])) ++i;
    return i < static_cast<int>(m_text.size()) && m_text[i] == '<' ? i : offset;
  };
  const int first = t[parent].firstChild;
  if (m_nodeLength && current == m_current) {
    return {before ? m_nodeOffset : m_nodeOffset + m_nodeLength, current, false};
  }
  if (current) {
    if (before) return {t[current].start, current == first ? 0 : t[current].previous, false};
    return {beforeNextTag(t[current].start + t[current].length), current, false};
  }
  const int last = first ? t[first].previous : 0;
  if (parent == 0) {
    if (before) return {first ? t[first].start : static_cast<int>(m_text.size()), 0, false};
    return {static_cast<int>(m_text.size()), last, false};
  }
  if (ContentStart(parent) == ContentEnd(parent)) return {0, 0, true};
  if (before) return {beforeNextTag(ContentStart(parent)), 0, false};
  return {ContentEnd(parent), last, false};
}

bool CXmlDocument::InsertElement(int parent, int current, const char* name, const char* content, int flags) {
  std::string element = std::string("<") + name;
  int startTag, endTag = 0;
  if (content) {
    element += ">";
    startTag = static_cast<int>(element.size());
    element += (flags & AddCdata) ? CdataSection(content) : EscapeText(content, 0);
    element += std::string("</") + name + ">";
    endTag = static_cast<int>(strlen(name)) + 3;
  } else {
    element += (flags & AddStartTagOnly) ? ">" : (flags & AddSpacedEmpty) ? " />" : "/>";
    startTag = static_cast<int>(element.size());
  }
  const Place place = ChoosePlace(parent, current, flags);
  GrowForNextRecord();
  const int record = m_nextFree++;

  const std::string lineBreak = (flags & AddNoLineBreaks) ? "" : "\r\n";
  int start;
  if (place.intoEmpty) {
    ReplaceContent(parent, lineBreak + element + lineBreak);
    start = ContentStart(parent) + static_cast<int>(lineBreak.size());
  } else {
    ReplaceText(parent, place.offset, 0, element + lineBreak);
    start = place.offset;
  }

  ElementRecord& r = (*m_elements)[record];
  r = ElementRecord{};
  r.start = start;
  r.length = static_cast<int>(element.size());
  r.tagLengths = PackTagLengths(startTag, endTag);
  if (flags & AddStartTagOnly) r.flags |= ElementNoEndTag;
  SetLevel(r, parent ? LevelOf((*m_elements)[parent]) + 1 : 0);
  LinkAfter(parent, record, place.previous);
  return true;
}

bool CXmlDocument::AddElement(const char* name, const char* content, int flags) {
  if ((m_docFlags & DocReadFile) || !name || !IsValidTagName(name)) return false;
  if ((flags & AddStartTagOnly) && content) return false;
  if (flags & AddChild) {
    if (m_current == 0 || m_nodeType != NodeElement) return false;
    InsertElement(m_current, m_child, name, content, flags);
    SetPosition(m_parent, m_current, m_nextFree - 1, NodeElement);
  } else {
    InsertElement(m_parent, m_current, name, content, flags);
    SetPosition(m_parent, m_nextFree - 1, 0, NodeElement);
  }
  return true;
}

bool CXmlDocument::AddChildElement(const char* name, const char* content, int flags) {
  return AddElement(name, content, flags | AddChild);
}

bool CXmlDocument::SetAttribute(int element, const char* name, const char* value) {
  if ((m_docFlags & DocReadFile) || !name || !IsValidAttributeName(name)) return false;
  AttributeSpan span;
  if (!FindAttributeSpan(element, span)) return false;
  const std::string quoted = "\"" + EscapeText(value ? value : "", EscapeAttribute) + "\"";
  XmlAttribute found;
  int insertAt;
  int offset, length;
  std::string replacement;
  if (FindAttribute(m_text.data(), span.from, span.limit, name, (m_docFlags & DocFoldCase) != 0, found, insertAt)) {
    offset = found.spanStart;
    length = found.spanEnd - found.spanStart;
    // An attribute written without "=" gets one.
    replacement = found.spanStart == found.nameOffset + found.nameLength ? "=" + quoted : quoted;
  } else {
    offset = insertAt;
    length = 0;
    replacement = std::string(" ") + name + "=" + quoted;
  }
  const int delta = static_cast<int>(replacement.size()) - length;
  if (span.instruction) {
    // The instruction's edit shifts the index from its parent; the node stays current.
    const int nodeType = m_nodeType, nodeOffset = m_nodeOffset, nodeLength = m_nodeLength;
    ReplaceText(m_parent, offset, length, replacement);
    SetPosition(m_parent, m_current, m_child, nodeType, nodeOffset, nodeLength + delta);
  } else {
    ElementRecord& r = (*m_elements)[element];
    const int startTag = StartTagLength(element);
    const int endTag = EndTagLength(element);
    ReplaceText(element, offset, length, replacement);
    r.tagLengths = PackTagLengths(startTag + delta, endTag);
  }
  return true;
}

// Replaces the current non-element node by one of the same kind built from `content`.
bool CXmlDocument::SetNodeData(const char* content) {
  std::string node;
  switch (m_nodeType) {
    case NodeText:
    case NodeWhitespace: node = EscapeText(content, 0); break;
    case NodeCdata: node = std::string("<![CDATA[") + content + "]]>"; break;
    case NodeProcessingInstruction: node = std::string("<?") + content + "?>"; break;
    case NodeComment: node = std::string("<!--") + content + "-->"; break;
    case NodeDocumentType: node = content; break;
    case NodeLoneEndTag: node = std::string("</") + content + ">"; break;
    default: return false;
  }
  // The new text must read back as exactly one node of the same kind, or the index would
  // no longer describe the text (a comment holding "-->", a CDATA section holding "]]>").
  const XmlNode scanned = ScanNode(node.data(), static_cast<int>(node.size()), 0, nullptr);
  const bool textual = m_nodeType == NodeText || m_nodeType == NodeWhitespace;
  const int kind = scanned.kind == XmlEndTag ? NodeLoneEndTag : scanned.kind;
  if (scanned.length != static_cast<int>(node.size()) || node.empty()) return false;
  if (textual ? (kind != NodeText && kind != NodeWhitespace) : kind != m_nodeType) return false;
  if (kind == NodeLoneEndTag) {
    // An end tag that matches an enclosing element would close it on the next parse.
    for (int e = m_parent; e; e = (*m_elements)[e].parent) {
      const std::string name = ElementName(e);
      if (NamesEqual(node.data() + 2, scanned.nameLength, name.data(), static_cast<int>(name.size()),
                     (m_docFlags & DocFoldCase) != 0))
        return false;
    }
  }
  const int nodeOffset = m_nodeOffset;
  ReplaceText(m_parent, nodeOffset, m_nodeLength, node);
  SetPosition(m_parent, m_current, m_child, kind, nodeOffset, static_cast<int>(node.size()));
  return true;
}

bool CXmlDocument::SetElementData(int element, const char* content) {
  if (m_docFlags & DocReadFile) return false;
  if (!content) content = "";
  if (element == m_current && m_nodeType != NodeElement && m_nodeLength) return SetNodeData(content);
  if (!IsLiveElement(element) || (*m_elements)[element].firstChild) return false;
  ReplaceContent(element, EscapeText(content, 0));
  (*m_elements)[element].flags &= ~ElementHasError;
  return true;
}

void CXmlDocument::FreeSubtree(int element) {
  ElementTable& t = *m_elements;
  std::vector<int> freed;
  ForEachInSubtree(t, element, [&freed](int x) { freed.push_back(x); });
  // The free chain runs through the next field, so it is built after the walk.
  for (int x : freed) {
    t[x].flags |= ElementFree;
    t[x].next = m_freeHead;
    m_freeHead = x;
  }
}

int CXmlDocument::RemoveElement(int element) {
  if ((m_docFlags & DocReadFile) || !IsLiveElement(element)) return 0;
  ElementTable& t = *m_elements;
  const int start = t[element].start;
  int end = start + t[element].length;
  int i = end;
  while (i < static_cast<int>(m_text.size()) && IsXmlSpace(m_text[i])) ++i;
  if (i < static_cast<int>(m_text.size()) && m_text[i] == '<') end = i;
  const int parent = t[element].parent;
  const int previous = Unlink(element);
  FreeSubtree(element);
  ReplaceText(parent, start, end - start, "");

  // A position inside the removed element would lead into the free chain: it moves to
  // where callers put it anyway, the previous sibling.
  auto isFree = [&t](int x) { return x != 0 && (t[x].flags & ElementFree) != 0; };
  if (isFree(m_parent) || isFree(m_current)) {
    SetPosition(parent, previous, 0, previous ? NodeElement : NodeNone);
  } else if (isFree(m_child)) {
    m_child = previous;
  }
  auto& saved = *m_savedPositions;
  for (size_t k = saved.size(); k-- > 0;) {
    if (isFree(saved[k].parent) || isFree(saved[k].current) || isFree(saved[k].child)) saved.erase(saved.begin() + k);
  }
  return previous;
}
