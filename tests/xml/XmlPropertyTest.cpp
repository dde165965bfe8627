// Random edit sequences on random documents: after every edit, the index kept up to date
// by offset shifting must equal the index of a fresh parse of the edited text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "IndexDump.h"
#include "xml/XmlDocument.h"

namespace {

class Editor {
 public:
  explicit Editor(unsigned seed) : m_rng(seed) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

  std::string Word() {
    static const char* const pieces[] = {"a", "b c", "<", "&", "\"", "'", "]]>", "\xC3\xA9", " ", "&amp;", "x"};
    std::string out;
    for (int i = Pick(4); i > 0; --i) out += pieces[Pick(11)];
    return out;
  }

  std::string Element(int depth) {
    static const char* const names[] = {"a", "b", "item", "items"};
    const std::string name = names[Pick(4)];
    std::string out = "<" + name;
    for (int i = Pick(3); i > 0; --i) out += std::string(" k") + char('0' + i) + (Pick(2) ? "='v'" : "=\"w\"");
    if (depth == 0 || Pick(4) == 0) return out + (Pick(2) ? "/>" : " />");
    out += ">";
    for (int i = Pick(4); i > 0; --i) {
      switch (Pick(4)) {
        case 0: out += "\r\n  "; break;
        case 1: out += "text"; break;
        case 2: out += "<!-- c -->"; break;
        default: break;
      }
      out += Element(depth - 1);
    }
    return out + (Pick(2) ? "\r\n" : "") + "</" + name + ">";
  }

  // Live elements in tree order.
  static void Collect(const CXmlDocument& doc, int parent, std::vector<int>& out) {
    for (int e = doc.Record(parent).firstChild; e; e = doc.Record(e).next) {
      out.push_back(e);
      Collect(doc, e, out);
    }
  }

  // Walks to `element` with the navigation calls alone.
  static void GoTo(CXmlDocument& doc, int element) {
    std::vector<int> chain;
    for (int e = element; e; e = doc.Record(e).parent) chain.push_back(e);
    std::reverse(chain.begin(), chain.end());
    while (doc.LeaveElement()) {
    }
    for (size_t i = 0; i < chain.size(); ++i) {
      doc.ResetPosition();
      while (doc.CurrentElement() != chain[i]) ASSERT_TRUE(doc.FindElement(""));
      if (i + 1 < chain.size()) doc.EnterElement();
    }
  }

  // One random edit; false when it was refused.
  bool Edit(CXmlDocument& doc) {
    std::vector<int> live;
    Collect(doc, 0, live);
    if (live.empty()) return false;
    const int e = live[Pick(static_cast<int>(live.size()))];
    const bool isRule = doc.ElementName(e) == "hr";  // elements without end tag never take children
    GoTo(doc, e);
    switch (Pick(6)) {
      case 0:
      case 1: {
        static const int flagSets[] = {0, AddNoLineBreaks, AddSpacedEmpty, AddBefore, AddBefore | AddNoLineBreaks};
        int flags = flagSets[Pick(5)];
        if (Pick(3) == 0 && !isRule) {
          doc.EnterElement();
          if (Pick(2)) doc.FindElement("");
        }
        if (Pick(5) == 0) {
          if (doc.ElementName(doc.ParentElement()) == "hr") return false;
          return doc.AddElement("hr", nullptr, flags | AddStartTagOnly);
        }
        const std::string content = Word();
        if (Pick(3) == 0) flags |= AddCdata;
        return doc.AddElement(Pick(2) ? "n" : "item", Pick(2) ? content.c_str() : nullptr, flags);
      }
      case 2:
        if (isRule) return false;
        return doc.AddChildElement("c", nullptr, Pick(2) ? 0 : AddNoLineBreaks);
      case 3: {
        const std::string value = Word();
        static const char* const names[] = {"k1", "k2", "id", "long-name"};
        const char* name = names[Pick(4)];
        if (!doc.SetAttribute(e, name, value.c_str())) return false;
        EXPECT_EQ(doc.GetAttribute(e, name), value);
        return true;
      }
      case 4: return doc.SetElementData(e, Word().c_str());
      default:
        if (live.size() < 3) return false;
        doc.RemoveElement(e);
        return true;
    }
  }

 private:
  std::mt19937 m_rng;
};

TEST(XmlProperty, EditedIndexEqualsFreshParse) {
  int edits = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Editor editor(seed);
    const std::string text = "<?xml version=\"1.0\"?>\r\n" + editor.Element(4) + "\r\n";
    CXmlDocument doc(text.c_str());
    ASSERT_EQ(DumpIndex(doc), DumpFreshIndex(doc));
    for (int step = 0; step < 60; ++step) {
      if (editor.Edit(doc)) ++edits;
      ASSERT_EQ(DumpIndex(doc), DumpFreshIndex(doc)) << "seed " << seed << " step " << step << "\n" << doc.GetText();
    }
  }
  EXPECT_GT(edits, 1000);
}

}  // namespace
