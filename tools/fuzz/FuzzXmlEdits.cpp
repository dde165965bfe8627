// An XML document with a random sequence of navigation and edit calls. After every call
// the index must still describe the text: each live element's record points at its own
// start tag, the links agree, siblings follow one another inside their parent, and the
// position names live elements only.
// Input: document flags byte, document text, a 0 byte, then the calls.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "xml/XmlDocument.h"

namespace {

void Fail(const CXmlDocument& doc, const char* what, int element) {
  fprintf(stderr, "index check: %s (element %d)\ntext: %s\n", what, element, doc.GetText().c_str());
  abort();
}

struct CIndexCheck {
  const CXmlDocument& doc;
  const std::vector<std::string>& names;  // the name each record was created with
  int reached = 0;

  // Checks the children of `parent`, which lie in text[from, to).
  void Children(int parent, int from, int to) {
    const std::string& text = doc.GetText();
    const int first = doc.Record(parent).firstChild;
    int previous = 0;
    int at = from;
    for (int e = first; e; e = doc.Record(e).next) {
      if (e < 0 || e >= doc.RecordCount() || ++reached >= doc.RecordCount()) Fail(doc, "link out of the table", e);
      const ElementRecord& r = doc.Record(e);
      if (r.flags & ElementFree) Fail(doc, "free record linked", e);
      if (r.parent != parent) Fail(doc, "wrong parent", e);
      if (((r.flags & ElementFirstChild) != 0) != (e == first)) Fail(doc, "first-child flag", e);
      if (e != first && r.previous != previous) Fail(doc, "previous link", e);
      const int level = parent ? LevelOf(doc.Record(parent)) + 1 : 0;
      if (LevelOf(r) != (level < 0xFFFF ? level : 0xFFFF)) Fail(doc, "level", e);
      if (r.start < at || r.length <= 0 || static_cast<int64_t>(r.start) + r.length > to)
        Fail(doc, "outside its parent or before its previous sibling", e);
      const std::string& name = names[e];
      if (text.compare(r.start, name.size() + 1, "<" + name) != 0 || doc.ElementName(e) != name)
        Fail(doc, "record not at its own start tag", e);
      const int startTag = StoredStartTagLength(r);
      const int endTag = StoredEndTagLength(r);
      if (startTag + endTag > r.length || text[r.start + startTag - 1] != '>') Fail(doc, "start tag length", e);
      const int end = r.start + r.length;
      if (endTag && (text.compare(end - endTag, 2, "</") != 0 || text[end - 1] != '>')) Fail(doc, "end tag", e);
      Children(e, r.start + startTag, end - endTag);
      previous = e;
      at = end;
    }
    if (first && doc.Record(first).previous != previous) Fail(doc, "last-child link", parent);
  }

  bool IsLive(int e) const { return e > 0 && e < doc.RecordCount() && (doc.Record(e).flags & ElementFree) == 0; }

  void Run() {
    if (doc.RecordCount() != static_cast<int>(names.size())) Fail(doc, "record count", doc.RecordCount());
    if (doc.Record(0).length != static_cast<int>(doc.GetText().size())) Fail(doc, "root length", 0);
    Children(0, 0, static_cast<int>(doc.GetText().size()));
    int live = 0;
    for (int e = 1; e < doc.RecordCount(); ++e) live += IsLive(e);
    if (live != reached) Fail(doc, "live records not in the tree", live);
    const int parent = doc.ParentElement(), current = doc.CurrentElement(), child = doc.ChildElement();
    if ((parent && !IsLive(parent)) || (current && !IsLive(current)) || (child && !IsLive(child)))
      Fail(doc, "position on a dead record", current);
    if (current && doc.Record(current).parent != parent) Fail(doc, "current outside the parent", current);
    if (child && doc.Record(child).parent != current) Fail(doc, "child outside the current element", child);
  }
};

const char* const ElementNames[] = {"a", "b", "item", "items", "x:y", "hr", "r", "e"};
const char* const AttributeNames[] = {"id", "t", "k1", "guid", "version"};

std::string Short(CFuzzInput& in) {
  std::string s = in.Until(0);
  return s.size() > 24 ? s.substr(0, 24) : s;
}

std::string ElementName(CFuzzInput& in) {
  const int k = in.Pick(10);
  return k < 8 ? ElementNames[k] : Short(in);
}

std::string AttributeName(CFuzzInput& in) {
  const int k = in.Pick(6);
  return k < 5 ? AttributeNames[k] : Short(in);
}

// An element index: the position's own, or any record, or just past the table.
int Element(CFuzzInput& in, const CXmlDocument& doc) {
  switch (in.Pick(4)) {
    case 0: return doc.CurrentElement();
    case 1: return doc.ChildElement();
    case 2: return doc.ParentElement();
    default: return in.Pick(doc.RecordCount() + 2);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CFuzzInput in(data, size);
  const unsigned flags = in.Byte() & (DocFoldCase | DocTrimValues | DocCollapseValues);
  CXmlDocument doc;
  doc.SetDocFlags(flags);
  doc.SetDocument(in.Until(0).c_str());
  std::vector<std::string> names;
  for (int e = 0; e < doc.RecordCount(); ++e) names.push_back(doc.ElementName(e));
  CIndexCheck{doc, names}.Run();

  for (int step = 0; step < 64 && !in.AtEnd(); ++step) {
    switch (in.Pick(16)) {
      case 0: doc.ResetPosition(); break;
      case 1: doc.FindElement(in.Pick(3) ? ElementName(in).c_str() : nullptr); break;
      case 2: doc.FindNode(in.Byte()); break;
      case 3: doc.EnterElement(); break;
      case 4: doc.LeaveElement(); break;
      case 5:
      case 6: {
        const std::string name = ElementName(in);
        const std::string content = Short(in);
        const int addFlags = in.Byte() | (in.Byte() << 8);
        const bool child = in.Pick(2);
        const char* text = in.Pick(2) ? content.c_str() : nullptr;
        const bool added =
            child ? doc.AddChildElement(name.c_str(), text, addFlags) : doc.AddElement(name.c_str(), text, addFlags);
        if (added) names.push_back(name);
        break;
      }
      case 7: {
        const int e = Element(in, doc);
        doc.GetAttribute(e, AttributeName(in).c_str());
        break;
      }
      case 8:
      case 9: {
        // Whether the value reads back is left to the property test of well-formed
        // documents: in malformed tags (a quote left open, a bare "=" last) it need not.
        const int e = Element(in, doc);
        const std::string name = AttributeName(in);
        doc.SetAttribute(e, name.c_str(), Short(in).c_str());
        break;
      }
      case 10: {
        const int e = Element(in, doc);
        doc.SetElementData(e, Short(in).c_str());
        break;
      }
      case 11: doc.RemoveElement(Element(in, doc)); break;
      case 12: doc.ElementName(Element(in, doc)); break;
      case 13: doc.SavePosition(in.Pick(2) ? "p" : "q"); break;
      case 14: doc.RestorePosition(in.Pick(2) ? "p" : "q"); break;
      default: {
        // File modes refuse edits; they must leave the index alone.
        static const unsigned modes[] = {0, DocReadFile, DocWriteFile, DocFoldCase};
        doc.SetDocFlags(flags | modes[in.Pick(4)]);
        break;
      }
    }
    CIndexCheck{doc, names}.Run();
  }
  return 0;
}
