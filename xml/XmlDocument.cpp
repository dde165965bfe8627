#include "xml/XmlDocument.h"

#include <cctype>
#include <cstring>

#include "xml/TextFile.h"
#include "xml/XmlAttributes.h"
#include "xml/XmlEscape.h"
#include "xml/XmlScanner.h"

CXmlDocument::CXmlDocument() : CXmlDocument(nullptr) {}

CXmlDocument::CXmlDocument(const char* text)
    : m_savedPositions(new std::vector<SavedPosition>), m_elements(new ElementTable) {
  SetDocument(text);
}

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::SetDocument(const char* text) {
  if (InFileMode()) return false;
  m_text.assign(text ? text : "");
  m_resultLog.clear();
  return ParseDocument();
}

bool CXmlDocument::Load(const char* path) {
  if (InFileMode() || !path) return false;
  m_text.clear();
  unsigned flags = m_docFlags;
  const bool read = ReadTextFile(path, m_text, m_resultLog, flags, &m_nFileError);
  m_docFlags = flags;
  if (!read) {
    // The index must not outlive the text it described: an unreadable file leaves an
    // empty document (parsing empty text writes no entries).
    m_text.clear();
    ParseDocument();
    return false;
  }
  return ParseDocument();
}

bool CXmlDocument::Save(const char* path) {
  if (InFileMode() || !path) return false;
  unsigned flags = m_docFlags;
  const bool written = WriteTextFile(m_text, path, m_resultLog, flags, &m_nFileError);
  m_docFlags = flags;
  return written;
}

void CXmlDocument::ResetPosition() { SetPosition(m_parent, 0, 0, NodeNone); }

void CXmlDocument::SetPosition(int parent, int current, int child, int nodeType, int nodeOffset, int nodeLength) {
  m_parent = parent;
  m_current = current;
  m_child = child;
  m_nodeType = nodeType;
  m_nodeOffset = nodeOffset;
  m_nodeLength = nodeLength;
}

namespace {

// A path name may carry bracketed parts ('item[2]', 'item[@id]', "item[@id='x']"); they
// are checked for form only. A name from the document root ('/a', '//a') is refused.
bool IsWellFormedPath(const char* name) {
  if (name[0] == '/') return false;
  const char* p = name;
  while (*p) {
    if (*p == ']') return false;
    if (*p != '[') {
      ++p;
      continue;
    }
    ++p;
    if (isdigit(static_cast<unsigned char>(*p))) {
      while (isdigit(static_cast<unsigned char>(*p))) ++p;
    } else if (*p == '@') {
      const char* attribute = ++p;
      while (*p && !strchr("[]=\"' ", *p)) ++p;
      if (p == attribute) return false;
      if (*p == '=') {
        const char quote = *++p;
        if (quote != '"' && quote != '\'') return false;
        const char* close = strchr(p + 1, quote);
        if (!close) return false;
        p = close + 1;
      }
    } else {
      return false;
    }
    if (*p != ']') return false;
    ++p;
  }
  return true;
}

}  // namespace

bool CXmlDocument::FindElement(const char* name) {
  if ((m_docFlags & DocWriteFile) || m_nextFree == 0) return false;
  const bool anyName = !name || !*name;
  if (!anyName && !IsWellFormedPath(name)) return false;
  const ElementTable& table = *m_elements;
  const bool fold = (m_docFlags & DocFoldCase) != 0;
  for (int e = m_current ? table[m_current].next : table[m_parent].firstChild; e; e = table[e].next) {
    if (anyName || NameMatches(m_text.data() + table[e].start + 1, NameLength(e), name, fold)) {
      SetPosition(table[e].parent, e, 0, NodeElement);
      return true;
    }
  }
  return false;
}

bool CXmlDocument::FindNode(int nodeTypes) {
  if ((m_docFlags & DocWriteFile) || m_nextFree == 0) return false;
  const ElementTable& table = *m_elements;
  int offset = m_nodeType == NodeElement && m_current ? table[m_current].start + table[m_current].length
               : m_nodeLength                         ? m_nodeOffset + m_nodeLength
               : m_parent                             ? ContentStart(m_parent)
                                                      : 0;
  const int end = m_parent ? ContentEnd(m_parent) : static_cast<int>(m_text.size());
  int passed = m_current;  // the element before the node reached
  int next = passed ? table[passed].next : table[m_parent].firstChild;
  while (offset < end) {
    if (next && table[next].start <= offset) {
      if (nodeTypes & NodeElement) {
        SetPosition(m_parent, next, 0, NodeElement);
        return true;
      }
      passed = next;
      offset = table[next].start + table[next].length;
      next = table[next].next;
      continue;
    }
    // The node ends where the next indexed element begins: markup left unfinished before
    // an added element would otherwise swallow its start tag.
    const int limit = next && table[next].start < end ? table[next].start : end;
    const XmlNode node = ScanNode(m_text.data(), limit, offset, nullptr);
    if (node.length <= 0) break;
    const int type = node.kind == XmlEndTag ? NodeLoneEndTag : node.kind;
    if (node.kind != XmlSyntaxError && node.kind != XmlStartTag && (nodeTypes & type)) {
      SetPosition(m_parent, passed, 0, type, node.offset, node.length);
      return true;
    }
    offset += node.length;
  }
  return false;
}

bool CXmlDocument::EnterElement() {
  if (m_current == 0 || m_nodeType != NodeElement) return false;
  SetPosition(m_current, m_child, 0, m_child ? NodeElement : NodeNone);
  return true;
}

bool CXmlDocument::LeaveElement() {
  if (m_parent == 0) return false;
  SetPosition((*m_elements)[m_parent].parent, m_parent, m_current, NodeElement);
  return true;
}

bool CXmlDocument::FindAttributeSpan(int element, AttributeSpan& span) const {
  const char* text = m_text.data();
  if (element == m_current && m_nodeType == NodeProcessingInstruction && m_nodeLength) {
    const int from = m_nodeOffset + 2;
    span.limit = m_nodeOffset + m_nodeLength - 2;
    span.from = from + TagNameLength(text + from, text + span.limit);
    span.instruction = true;
    return true;
  }
  if (!IsLiveElement(element)) return false;
  const ElementRecord& r = (*m_elements)[element];
  span.from = r.start + 1 + NameLength(element);
  span.limit = r.start + StartTagLength(element) - 1;
  span.instruction = false;
  return span.from <= span.limit;
}

std::string CXmlDocument::GetAttribute(int element, const char* name) const {
  AttributeSpan span;
  if (!name || !*name || !FindAttributeSpan(element, span)) return "";
  XmlAttribute found;
  int insertAt;
  if (!FindAttribute(m_text.data(), span.from, span.limit, name, (m_docFlags & DocFoldCase) != 0, found, insertAt))
    return "";
  return UnescapeText(m_text.data() + found.valueOffset, found.valueLength, m_docFlags);
}

void CXmlDocument::SavePosition(const char* name) {
  if (!name) return;
  for (SavedPosition& saved : *m_savedPositions) {
    if (saved.name == name) {
      saved = {name, m_parent, m_current, m_child};
      return;
    }
  }
  m_savedPositions->push_back({name, m_parent, m_current, m_child});
}

bool CXmlDocument::RestorePosition(const char* name) {
  if (!name) return false;
  for (const SavedPosition& saved : *m_savedPositions) {
    if (saved.name != name) continue;
    SetPosition(saved.parent, saved.current, saved.child, saved.current ? NodeElement : NodeNone);
    return true;
  }
  return false;
}

std::string CXmlDocument::ElementName(int element) const {
  if (!IsLiveElement(element)) return "";
  return m_text.substr((*m_elements)[element].start + 1, NameLength(element));
}

bool CXmlDocument::IsWellFormed() const {
  const ElementTable& table = *m_elements;
  if (m_nextFree == 0 || (table[0].flags & DocumentNotWellFormed)) return false;
  const int root = table[0].firstChild;
  return root != 0 && table[root].next == 0;
}

// A record in use that is not free and lies within the text: every public call checks
// the indices it is given here, so no index reads outside the text.
bool CXmlDocument::IsLiveElement(int index) const {
  if (index <= 0 || index >= m_nextFree) return false;
  const ElementRecord& r = (*m_elements)[index];
  return (r.flags & ElementFree) == 0 && r.start >= 0 && r.length > 0 &&
         static_cast<int64_t>(r.start) + r.length <= static_cast<int64_t>(m_text.size());
}

int CXmlDocument::StartTagLength(int element) const {
  const ElementRecord& r = (*m_elements)[element];
  const int stored = StoredStartTagLength(r);
  if (stored < static_cast<int>(MaxStartTagLength)) return stored;
  // Too long for its field: measure the tag again.
  return ScanNode(m_text.data(), r.start + r.length, r.start, nullptr).length;
}

int CXmlDocument::EndTagLength(int element) const {
  const ElementRecord& r = (*m_elements)[element];
  const int stored = StoredEndTagLength(r);
  if (stored < static_cast<int>(MaxEndTagLength)) return stored;
  // Too long for its field: the end tag begins at the element's last "<".
  const int end = r.start + r.length;
  int i = end - 1;
  while (i > r.start && m_text[i] != '<') --i;
  return end - i;
}

int CXmlDocument::NameLength(int element) const {
  const ElementRecord& r = (*m_elements)[element];
  return TagNameLength(m_text.data() + r.start + 1, m_text.data() + r.start + r.length);
}

int CXmlDocument::ContentStart(int element) const { return (*m_elements)[element].start + StartTagLength(element); }

int CXmlDocument::ContentEnd(int element) const {
  const ElementRecord& r = (*m_elements)[element];
  return r.start + r.length - EndTagLength(element);
}
