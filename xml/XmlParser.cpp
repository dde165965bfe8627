// Building the element index from the text in one pass. No input stops the parse: every
// problem becomes a result entry and an element flag, and the index is repaired to the
// structure the text has (lone end tags are ignored; an element left open ends with its
// start tag and its children move up one level).
#include <vector>

#include "XmlDocument.h"
#include "XmlResult.h"
#include "XmlScanner.h"

namespace {

// An element waiting for its end tag; its name is read from the text, which does not
// change while parsing.
struct OpenElement {
  int element;
  int nameOffset;
  int nameLength;
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
  std::vector<OpenElement> open;
  open.reserve(7);
  auto markError = [&]() {
    table[0].flags |= DocumentNotWellFormed;
    table[open.empty() ? 0 : open.back().element].flags |= ElementHasError;
  };

  for (int offset = 0; offset < length;) {
    const XmlNode node = ScanNode(text, length, offset, &m_resultLog);
    if (node.kind == XmlStartTag) {
      GrowForNextRecord();
      const int element = m_nextFree++;
      ElementRecord& r = table[element];
      r = ElementRecord{};
      const int parent = open.empty() ? 0 : open.back().element;
      const int first = table[parent].firstChild;
      LinkAfter(parent, element, first ? table[first].previous : 0);
      SetLevel(r, static_cast<int>(open.size()));
      r.start = node.offset;
      // Until its end tag is met, an element's length is its start tag's.
      r.length = node.length;
      r.tagLengths = PackTagLengths(node.length, 0);
      if (!node.empty) open.push_back({element, node.offset + 1, node.nameLength});
    } else if (node.kind == XmlEndTag) {
      const char* name = text + node.offset + 2;
      int match = static_cast<int>(open.size()) - 1;
      while (match >= 0 &&
             !NamesEqual(text + open[match].nameOffset, open[match].nameLength, name, node.nameLength, fold))
        --match;
      if (match < 0) {
        WriteResultEntry(m_resultLog, "lone_end_tag", std::string(name, node.nameLength).c_str(), 0, node.offset);
        markError();
      } else {
        while (static_cast<int>(open.size()) - 1 > match) {
          CloseUnended(open.back().element, node.offset + 1);
          open.pop_back();
        }
        ElementRecord& r = table[open.back().element];
        r.length = node.offset + node.length - r.start;
        r.tagLengths = PackTagLengths(StoredStartTagLength(r), node.length);
        open.pop_back();
      }
    } else if (node.kind == XmlSyntaxError) {
      markError();
    }
    if (node.length <= 0) break;
    offset += node.length;
  }
  while (!open.empty()) {
    CloseUnended(open.back().element, length);
    open.pop_back();
  }

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
// ended it.
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
    for (int c = moved; c; c = table[c].next) {
      table[c].parent = parent;
      // Everything inside moves up one level with it.
      ForEachInSubtree(table, c, [&table](int x) { SetLevel(table[x], LevelOf(table[x]) - 1); });
    }
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
