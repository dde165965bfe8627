// Building the element index from the text in one pass. No input stops the parse: every
// problem becomes a result entry and an element flag, and the index is repaired to the
// structure the text has (lone end tags are ignored; an element left open ends with its
// start tag and its children move up one level).
//
// Hostile text must not make the pass slow: an end tag finds its open element through a
// name index instead of searching the stack, and the children of an element left open
// move up by relinking the ends of their list; their parent fields and levels, and those
// of everything below them, are settled once at the end.
#include <map>
#include <vector>

#include "xml/XmlDocument.h"
#include "xml/XmlResult.h"
#include "xml/XmlScanner.h"

namespace {

// A name in the text, which does not change while parsing.
struct NameSpan {
  const char* bytes;
  int length;
};

// Orders names as the end-tag rule compares them (letters folded or not).
struct NameOrder {
  bool foldCase;
  bool operator()(const NameSpan& a, const NameSpan& b) const {
    return CompareNames(a.bytes, a.length, b.bytes, b.length, foldCase) < 0;
  }
};

// The elements waiting for their end tags, innermost last, and for each name the
// innermost open element of that name. An ordered index rather than a hash keeps the
// lookup cost bounded whatever names a hostile text chooses.
class COpenElements {
 public:
  explicit COpenElements(bool foldCase) : m_byName(NameOrder{foldCase}) {}

  bool Empty() const { return m_stack.empty(); }
  int Depth() const { return static_cast<int>(m_stack.size()); }
  // The innermost open element.
  int Innermost() const { return m_stack.back().element; }

  void Push(int element, NameSpan name) {
    int& innermost = m_byName.try_emplace(name, -1).first->second;
    m_stack.push_back({element, &innermost, innermost});
    innermost = Depth() - 1;
  }

  // Takes the innermost element off the stack.
  void Pop() {
    *m_stack.back().innermostOfName = m_stack.back().outerOfName;
    m_stack.pop_back();
  }

  // Depth (0 = outermost) of the innermost open element named `name`, or -1 when none is.
  int Find(NameSpan name) const {
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? -1 : found->second;
  }

 private:
  struct Open {
    int element;
    int* innermostOfName;  // the name's entry in m_byName
    int outerOfName;       // depth of the next open element of the same name, -1 for none
  };
  std::vector<Open> m_stack;
  // Depth of each name's innermost open element, -1 while none is open; a name stays once
  // met, so that opening and closing elements allocates nothing.
  std::map<NameSpan, int, NameOrder> m_byName;
};

}  // namespace

bool CXmlDocument::ParseDocument() {
  SetPosition(0, 0, 0, NodeNone);
  m_savedPositions->clear();
  m_freeHead = 0;
  ElementTable& table = *m_elements;
  const int length = static_cast<int>(m_text.size());
  // Room for edits, so that the first insertion does not copy the whole text.
  m_text.reserve(m_text.size() + m_text.size() / 16 + 256);
  table.Grow(length / 64 + 8);
  table[0] = ElementRecord{};
  m_nextFree = 1;
  if (length == 0) return false;

  const char* text = m_text.data();
  const bool fold = (m_docFlags & DocFoldCase) != 0;
  COpenElements open(fold);
  bool anyUnended = false;
  auto markError = [&]() {
    table[0].flags |= DocumentNotWellFormed;
    table[open.Empty() ? 0 : open.Innermost()].flags |= ElementHasError;
  };
  auto closeUnendedInside = [&](int depth, int offset2) {
    for (; open.Depth() > depth; open.Pop()) CloseUnended(open.Innermost(), offset2);
    anyUnended = true;
  };

  for (int offset = 0; offset < length;) {
    const XmlNode node = ScanNode(text, length, offset, &m_resultLog);
    if (node.kind == XmlStartTag) {
      GrowForNextRecord();
      const int element = m_nextFree++;
      ElementRecord& r = table[element];
      r = ElementRecord{};
      const int parent = open.Empty() ? 0 : open.Innermost();
      const int first = table[parent].firstChild;
      LinkAfter(parent, element, first ? table[first].previous : 0);
      SetLevel(r, open.Depth());
      r.start = node.offset;
      // Until its end tag is met, an element's length is its start tag's.
      r.length = node.length;
      r.tagLengths = PackTagLengths(node.length, 0);
      if (!node.empty) open.Push(element, {text + node.offset + 1, node.nameLength});
    } else if (node.kind == XmlEndTag) {
      const char* name = text + node.offset + 2;
      const int match = open.Find({name, node.nameLength});
      if (match < 0) {
        WriteResultEntry(m_resultLog, "lone_end_tag", std::string(name, node.nameLength).c_str(), 0, node.offset);
        markError();
      } else {
        if (open.Depth() - 1 > match) closeUnendedInside(match + 1, node.offset + 1);
        ElementRecord& r = table[open.Innermost()];
        r.length = node.offset + node.length - r.start;
        r.tagLengths = PackTagLengths(StoredStartTagLength(r), node.length);
        open.Pop();
      }
    } else if (node.kind == XmlSyntaxError) {
      markError();
    }
    if (node.length <= 0) break;
    offset += node.length;
  }
  if (!open.Empty()) closeUnendedInside(0, length);
  if (anyUnended) SettleMovedElements();

  table[0].length = length;
  const int root = table[0].firstChild;
  if (root == 0) {
    WriteResultEntry(m_resultLog, "no_root_element", nullptr, 0, -1);
  } else if (table[root].next != 0) {
    WriteResultEntry(m_resultLog, "root_has_sibling", nullptr, 0, -1);
  }
  SetPosition(0, 0, 0, NodeNone);
  return IsWellFormed();
}

// Ends an element that met no end tag at its start tag. Its children follow it as
// siblings, one level up; `offset2` is where the enclosing element's end tag (or the text)
// ended it. Only the ends of the moved list are relinked here: the moved elements keep
// their old parent field and level until SettleMovedElements.
void CXmlDocument::CloseUnended(int element, int offset2) {
  ElementTable& table = *m_elements;
  ElementRecord& r = table[element];
  r.flags |= ElementNoEndTag;
  const int parent = r.parent;
  const int moved = r.firstChild;
  if (moved) {
    // The element is the last child of its parent (later siblings would have closed it).
    const int first = table[parent].firstChild;
    const int last = table[moved].previous;
    r.next = moved;
    r.firstChild = 0;
    table[moved].previous = element;
    table[moved].flags &= ~ElementFirstChild;
    table[first].previous = last;
  }
  if (r.flags & ElementHasError) {
    r.flags &= ~ElementHasError;
    table[parent].flags |= ElementHasError;
  }
  table[0].flags |= DocumentNotWellFormed;
  const int nameLength = TagNameLength(m_text.data() + r.start + 1, m_text.data() + r.start + r.length);
  WriteResultEntry(m_resultLog, "unended_start_tag", m_text.substr(r.start + 1, nameLength).c_str(), 0, r.start,
                   offset2);
}

// Every element below an unended element moved up one level when that element was closed,
// so an element's parent is the nearest of its parents at creation that met its end tag,
// and its level drops by one for each that did not. Records are created parents first, so
// one pass in creation order finds each parent already settled. The level drops from the
// value stored at creation, saturated, down to no less than 0, as one step per unended
// parent would.
void CXmlDocument::SettleMovedElements() {
  ElementTable& table = *m_elements;
  std::vector<int> unendedAbove(m_nextFree, 0);
  for (int e = 1; e < m_nextFree; ++e) {
    ElementRecord& r = table[e];
    const int parent = r.parent;
    if (parent == 0) continue;
    const bool unended = (table[parent].flags & ElementNoEndTag) != 0;
    unendedAbove[e] = unendedAbove[parent] + (unended ? 1 : 0);
    if (unended) r.parent = table[parent].parent;
    SetLevel(r, LevelOf(r) - unendedAbove[e]);
  }
}
