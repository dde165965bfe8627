#include <gtest/gtest.h>

#include "IndexDump.h"
#include "TempDir.h"
#include "xml/XmlDocument.h"

namespace {

// The edited document's index must equal the index of a fresh parse of its text.
#define EXPECT_INDEX_MATCHES_TEXT(doc) EXPECT_EQ(DumpIndex(doc), DumpFreshIndex(doc))

// A document positioned inside its top-level element.
struct Inside {
  explicit Inside(const char* text) : doc(text) {
    doc.FindElement("");
    doc.EnterElement();
  }
  CXmlDocument doc;
};

std::string AddInto(const char* text, int flags, const char* content = nullptr) {
  Inside in(text);
  EXPECT_TRUE(in.doc.AddElement("x", content, flags));
  EXPECT_INDEX_MATCHES_TEXT(in.doc);
  EXPECT_EQ(in.doc.ElementName(in.doc.CurrentElement()), "x");
  return in.doc.GetText();
}

TEST(XmlAddElement, IntoAnEmptyParentTheParentGetsAnEndTag) {
  EXPECT_EQ(AddInto("<p/>", 0), "<p>\r\n<x/>\r\n</p>");
  EXPECT_EQ(AddInto("<p></p>", 0), "<p>\r\n<x/>\r\n</p>");
  EXPECT_EQ(AddInto("<p />", 0), "<p >\r\n<x/>\r\n</p>");
  EXPECT_EQ(AddInto("<p/>", AddNoLineBreaks), "<p><x/></p>");
  EXPECT_EQ(AddInto("<p></p>", AddBefore), "<p>\r\n<x/>\r\n</p>");
}

TEST(XmlAddElement, IntoAParentWithoutEndTag) {
  CXmlDocument doc("<r><p></r>");
  doc.FindElement("r");
  doc.EnterElement();
  doc.FindElement("p");
  doc.EnterElement();
  ASSERT_TRUE(doc.AddElement("x", nullptr, 0));
  EXPECT_EQ(doc.GetText(), "<r><p>\r\n<x/>\r\n</p></r>");
  EXPECT_EQ(doc.Record(doc.ParentElement()).flags & ElementNoEndTag, 0u);
  EXPECT_INDEX_MATCHES_TEXT(doc);
}

TEST(XmlAddElement, PlacesAfterBeforeAndAtTheEnds) {
  const char* list = "<p>\r\n  <a/>\r\n  <b/>\r\n</p>";
  // No current element: at the end of the parent, or with AddBefore at its start.
  EXPECT_EQ(AddInto(list, 0), "<p>\r\n  <a/>\r\n  <b/>\r\n<x/>\r\n</p>");
  EXPECT_EQ(AddInto(list, AddBefore), "<p>\r\n  <x/>\r\n<a/>\r\n  <b/>\r\n</p>");
  // After the current element: past its line break and indentation, before the next tag.
  Inside after(list);
  after.doc.FindElement("a");
  after.doc.AddElement("x", nullptr, 0);
  EXPECT_EQ(after.doc.GetText(), "<p>\r\n  <a/>\r\n  <x/>\r\n<b/>\r\n</p>");
  EXPECT_INDEX_MATCHES_TEXT(after.doc);
  // Before the current element: at its "<".
  Inside before(list);
  before.doc.FindElement("a");
  before.doc.AddElement("x", nullptr, AddBefore);
  EXPECT_EQ(before.doc.GetText(), "<p>\r\n  <x/>\r\n<a/>\r\n  <b/>\r\n</p>");
  EXPECT_INDEX_MATCHES_TEXT(before.doc);
  // Before a later current element, the new one becomes its previous sibling.
  Inside middle(list);
  middle.doc.FindElement("b");
  middle.doc.AddElement("x", nullptr, AddBefore | AddNoLineBreaks);
  EXPECT_EQ(middle.doc.GetText(), "<p>\r\n  <a/>\r\n  <x/><b/>\r\n</p>");
  EXPECT_INDEX_MATCHES_TEXT(middle.doc);
}

TEST(XmlAddElement, TagFormsAndContent) {
  EXPECT_EQ(AddInto("<p/>", AddSpacedEmpty), "<p>\r\n<x />\r\n</p>");
  EXPECT_EQ(AddInto("<p/>", AddStartTagOnly), "<p>\r\n<x>\r\n</p>");
  EXPECT_EQ(AddInto("<p/>", AddNoLineBreaks, "a<b&c"), "<p><x>a&lt;b&amp;c</x></p>");
  EXPECT_EQ(AddInto("<p/>", AddNoLineBreaks | AddCdata, "a]]>b"), "<p><x><![CDATA[a]]]]><![CDATA[>b]]></x></p>");
  Inside in("<p/>");
  EXPECT_FALSE(in.doc.AddElement("x", "text", AddStartTagOnly));
  EXPECT_FALSE(in.doc.AddElement("a b", nullptr, 0));
  EXPECT_FALSE(in.doc.AddElement("a>", nullptr, 0));
  EXPECT_FALSE(in.doc.AddElement("", nullptr, 0));
  EXPECT_EQ(in.doc.GetText(), "<p/>");
}

TEST(XmlAddElement, ChildModeAddsAfterTheChildPosition) {
  CXmlDocument doc("<r><a/><b/></r>");
  EXPECT_FALSE(doc.AddChildElement("x", nullptr, 0));  // no current element
  doc.FindElement("r");
  const int r = doc.CurrentElement();
  ASSERT_TRUE(doc.AddChildElement("x", nullptr, 0));
  ASSERT_TRUE(doc.AddChildElement("y", nullptr, 0));
  EXPECT_EQ(doc.GetText(), "<r><a/><b/><x/>\r\n<y/>\r\n</r>");
  EXPECT_EQ(doc.CurrentElement(), r);
  EXPECT_EQ(doc.ElementName(doc.ChildElement()), "y");
  EXPECT_INDEX_MATCHES_TEXT(doc);
}

TEST(XmlAddElement, AtTheDocumentLevel) {
  CXmlDocument doc("<r/>");
  ASSERT_TRUE(doc.AddElement("x", nullptr, AddNoLineBreaks));
  EXPECT_EQ(doc.GetText(), "<r/><x/>");
  EXPECT_INDEX_MATCHES_TEXT(doc);
}

TEST(XmlSetAttribute, ReplacesInPlaceWithDoubleQuotes) {
  CXmlDocument doc("<r><a x='1' y=\"2\"><c/></a><b/></r>");
  doc.FindElement("r");
  doc.EnterElement();
  doc.FindElement("a");
  const int a = doc.CurrentElement();
  ASSERT_TRUE(doc.SetAttribute(a, "x", "say \"hi\""));
  EXPECT_EQ(doc.GetText(), "<r><a x=\"say &quot;hi&quot;\" y=\"2\"><c/></a><b/></r>");
  EXPECT_EQ(doc.GetAttribute(a, "x"), "say \"hi\"");
  EXPECT_EQ(StoredStartTagLength(doc.Record(a)), 32);
  EXPECT_INDEX_MATCHES_TEXT(doc);
}

TEST(XmlSetAttribute, NewAttributesFollowTheLastOneInOrderSet) {
  CXmlDocument doc("<a/>");
  doc.FindElement("a");
  const int a = doc.CurrentElement();
  doc.SetAttribute(a, "guid", "g");
  doc.SetAttribute(a, "type", "<&>'\"");
  doc.SetAttribute(a, "guid", "h");
  EXPECT_EQ(doc.GetText(), "<a guid=\"h\" type=\"&lt;&amp;&gt;&apos;&quot;\"/>");
  EXPECT_EQ(doc.GetAttribute(a, "type"), "<&>'\"");
  EXPECT_INDEX_MATCHES_TEXT(doc);

  CXmlDocument spaced("<a x=1\r\n >text</a>");
  spaced.FindElement("a");
  spaced.SetAttribute(spaced.CurrentElement(), "y", "2");
  EXPECT_EQ(spaced.GetText(), "<a x=1 y=\"2\"\r\n >text</a>");
  EXPECT_INDEX_MATCHES_TEXT(spaced);

  CXmlDocument bare("<a checked/>");
  bare.FindElement("a");
  bare.SetAttribute(bare.CurrentElement(), "checked", "yes");
  EXPECT_EQ(bare.GetText(), "<a checked=\"yes\"/>");
}

TEST(XmlSetAttribute, RefusalsAndReading) {
  CXmlDocument doc("<a xy='1' v=\" x &amp;  &#65; \"/>");
  doc.FindElement("a");
  const int a = doc.CurrentElement();
  EXPECT_EQ(doc.GetAttribute(a, "x"), "");  // a longer name does not match
  EXPECT_EQ(doc.GetAttribute(a, "v"), " x &  A ");
  doc.SetDocFlags(DocTrimValues);
  EXPECT_EQ(doc.GetAttribute(a, "v"), "x &  A");
  doc.SetDocFlags(DocCollapseValues);
  EXPECT_EQ(doc.GetAttribute(a, "v"), "x & A");
  EXPECT_FALSE(doc.SetAttribute(a, "a b", "1"));
  EXPECT_FALSE(doc.SetAttribute(a, "", "1"));
  EXPECT_FALSE(doc.SetAttribute(0, "n", "1"));
  EXPECT_FALSE(doc.SetAttribute(99, "n", "1"));
  EXPECT_EQ(doc.GetAttribute(99, "n"), "");
}

TEST(XmlSetElementData, ReplacesTheContentOfLeafElements) {
  CXmlDocument doc("<r><a/><b>old</b><c x='1'>t<d/></c><e /><f></r>");
  doc.FindElement("r");
  doc.EnterElement();
  std::vector<int> e;
  while (doc.FindElement("")) e.push_back(doc.CurrentElement());
  ASSERT_EQ(e.size(), 5u);
  EXPECT_TRUE(doc.SetElementData(e[0], "1<2"));
  EXPECT_TRUE(doc.SetElementData(e[1], "new"));
  EXPECT_FALSE(doc.SetElementData(e[2], "x"));  // has a child element
  EXPECT_TRUE(doc.SetElementData(e[3], "e"));
  EXPECT_TRUE(doc.SetElementData(e[4], "f"));  // had no end tag
  EXPECT_EQ(doc.GetText(), "<r><a>1&lt;2</a><b>new</b><c x='1'>t<d/></c><e >e</e><f>f</f></r>");
  EXPECT_INDEX_MATCHES_TEXT(doc);
  EXPECT_EQ(StoredEndTagLength(doc.Record(e[0])), 4);
}

TEST(XmlSetElementData, ReplacesTheCurrentNode) {
  CXmlDocument doc("<r>text<!--c--><?pi a='1'?><![CDATA[d]]></x><e/></r>");
  doc.FindElement("r");
  doc.EnterElement();
  ASSERT_TRUE(doc.FindNode(NodeText));
  EXPECT_TRUE(doc.SetElementData(doc.CurrentElement(), "a<b"));
  ASSERT_TRUE(doc.FindNode(NodeComment));
  EXPECT_FALSE(doc.SetElementData(doc.CurrentElement(), "x-->y"));
  EXPECT_TRUE(doc.SetElementData(doc.CurrentElement(), " note "));
  ASSERT_TRUE(doc.FindNode(NodeProcessingInstruction));
  EXPECT_TRUE(doc.SetAttribute(doc.CurrentElement(), "a", "22"));
  EXPECT_TRUE(doc.SetAttribute(doc.CurrentElement(), "b", "3"));
  EXPECT_EQ(doc.GetAttribute(doc.CurrentElement(), "a"), "22");
  ASSERT_TRUE(doc.FindNode(NodeCdata));
  EXPECT_FALSE(doc.SetElementData(doc.CurrentElement(), "]]>"));
  EXPECT_TRUE(doc.SetElementData(doc.CurrentElement(), "<raw>"));
  ASSERT_TRUE(doc.FindNode(NodeLoneEndTag));
  EXPECT_FALSE(doc.SetElementData(doc.CurrentElement(), "r"));  // would close the parent
  EXPECT_TRUE(doc.SetElementData(doc.CurrentElement(), "y"));
  EXPECT_EQ(doc.GetText(), "<r>a&lt;b<!-- note --><?pi a=\"22\" b=\"3\"?><![CDATA[<raw>]]></y><e/></r>");
  EXPECT_EQ(DumpIndex(doc), DumpFreshIndex(doc));
  ASSERT_TRUE(doc.FindElement("e"));  // the position followed the edits
}

TEST(XmlSetElementData, ReplacingTheContentAroundTheCurrentNodeLeavesTheNode) {
  CXmlDocument doc("<r><a><![CDATA[x]]></a><b/></r>");
  doc.FindElement("r");
  doc.EnterElement();
  doc.FindElement("a");
  const int a = doc.CurrentElement();
  doc.EnterElement();
  ASSERT_TRUE(doc.FindNode(NodeCdata));
  ASSERT_TRUE(doc.SetElementData(a, "longer text"));
  // The section is gone: no node is current, and editing "it" must not write over the
  // new content and the end tag.
  EXPECT_EQ(doc.GetNodeType(), NodeNone);
  EXPECT_EQ(doc.NodeLength(), 0);
  EXPECT_FALSE(doc.SetElementData(doc.CurrentElement(), "y"));
  EXPECT_EQ(doc.GetText(), "<r><a>longer text</a><b/></r>");
  EXPECT_EQ(DumpIndex(doc), DumpFreshIndex(doc));
}

TEST(XmlSetAttribute, TheCurrentNodeFollowsEditsBeforeAndInsideIt) {
  CXmlDocument doc("<r><a/><b/><?pi?></r>");
  doc.FindElement("r");
  doc.EnterElement();
  ASSERT_TRUE(doc.FindNode(NodeProcessingInstruction));
  const int b = doc.CurrentElement();
  const int a = doc.Record(b).previous;
  ASSERT_TRUE(doc.SetAttribute(a, "k", "v"));   // before the node: it moves
  ASSERT_TRUE(doc.SetAttribute(b, "id", "1"));  // the instruction is current: it takes the attribute
  EXPECT_EQ(doc.GetText(), "<r><a k=\"v\"/><b/><?pi id=\"1\"?></r>");
  EXPECT_EQ(doc.GetNodeType(), NodeProcessingInstruction);
  EXPECT_EQ(doc.NodeOffset(), 17);
  EXPECT_EQ(doc.NodeLength(), 13);
  EXPECT_EQ(doc.GetAttribute(b, "id"), "1");
}

TEST(XmlRemoveElement, RemovesWithItsLineAndKeepsFinding) {
  CXmlDocument doc("<r>\r\n  <x id='1'><s/></x>\r\n  <y/>\r\n  <x id='2'/>\r\n  <x id='3'/>\r\n</r>");
  doc.FindElement("r");
  doc.EnterElement();
  std::string kept;
  while (doc.FindElement("x")) {
    const int x = doc.CurrentElement();
    if (doc.GetAttribute(x, "id") == "3") {
      kept += "3";
      continue;
    }
    const int previous = doc.RemoveElement(x);
    // What callers do after a removal; the next find continues after the removed element.
    doc.ResetPosition();
    if (previous) doc.FindElement(doc.ElementName(previous).c_str());
  }
  EXPECT_EQ(kept, "3");
  EXPECT_EQ(doc.GetText(), "<r>\r\n  <y/>\r\n  <x id='3'/>\r\n</r>");
  EXPECT_INDEX_MATCHES_TEXT(doc);
}

TEST(XmlRemoveElement, OnlyChildAndFreeChain) {
  CXmlDocument doc("<r><a><b/><c/></a></r>");
  doc.FindElement("r");
  doc.EnterElement();
  doc.FindElement("a");
  const int a = doc.CurrentElement();
  doc.SavePosition("here");
  EXPECT_EQ(doc.RemoveElement(a), 0);
  EXPECT_EQ(doc.GetText(), "<r></r>");
  EXPECT_EQ(doc.CurrentElement(), 0);  // the position left the removed element
  for (int i = 2; i <= 4; ++i) EXPECT_TRUE(doc.Record(i).flags & ElementFree) << i;
  EXPECT_FALSE(doc.RestorePosition("here"));
  EXPECT_FALSE(doc.FindElement("a"));
  EXPECT_EQ(doc.RemoveElement(a), 0);  // already removed: refused
  EXPECT_INDEX_MATCHES_TEXT(doc);
  ASSERT_TRUE(doc.AddElement("n", nullptr, AddNoLineBreaks));
  EXPECT_EQ(doc.CurrentElement(), 5);  // removed records are not reused
  EXPECT_EQ(doc.GetText(), "<r><n/></r>");
}

TEST(XmlFileMode, EditsAndFilesAreRefused) {
  CXmlDocument doc("<r><a/></r>");
  doc.FindElement("r");
  const int r = doc.CurrentElement();
  doc.SetDocFlags(DocReadFile);
  EXPECT_FALSE(doc.AddElement("x", nullptr, 0));
  EXPECT_FALSE(doc.SetAttribute(r, "n", "1"));
  EXPECT_FALSE(doc.SetElementData(r, "x"));
  EXPECT_EQ(doc.RemoveElement(r), 0);
  EXPECT_FALSE(doc.SetDocument("<x/>"));
  EXPECT_FALSE(doc.Load("any.xml"));
  EXPECT_FALSE(doc.Save("any.xml"));
  EXPECT_EQ(doc.GetText(), "<r><a/></r>");
  doc.SetDocFlags(DocWriteFile);
  doc.ResetPosition();
  EXPECT_FALSE(doc.FindElement("r"));
}

TEST(XmlFiles, LoadEditSave) {
  TempDir dir;
  const std::string path = dir.Write("w.xml", "<?xml version=\"1.0\"?>\r\n<cfg>\r\n  <a/>\r\n</cfg>\r\n");
  CXmlDocument doc;
  ASSERT_TRUE(doc.Load(path.c_str()));
  doc.FindElement("cfg");
  doc.EnterElement();
  doc.AddElement("b", nullptr, 0);
  doc.SetAttribute(doc.CurrentElement(), "k", "v");
  ASSERT_TRUE(doc.Save(path.c_str()));
  EXPECT_EQ(TempDir::Read(path), "<?xml version=\"1.0\"?>\r\n<cfg>\r\n  <a/>\r\n<b k=\"v\"/>\r\n</cfg>\r\n");
}

TEST(XmlFiles, UnreadableFileLeavesAnEmptyDocument) {
  TempDir dir;
  CXmlDocument doc("<r><a/></r>");
  EXPECT_FALSE(doc.Load((dir.Path() / "missing.xml").string().c_str()));
  EXPECT_EQ(doc.GetText(), "");
  EXPECT_EQ(doc.RecordCount(), 1);
  EXPECT_EQ(doc.GetResultLog().find("<file_error msg="), 0u);
  EXPECT_FALSE(doc.FindElement("r"));
}

TEST(XmlTagLengths, LongTagsBeyondTheirFieldsStillEditCorrectly) {
  const std::string longEnd = "<r><b>old</b" + std::string(2000, ' ') + "></r>";
  CXmlDocument doc(longEnd.c_str());
  doc.FindElement("r");
  doc.EnterElement();
  doc.FindElement("b");
  EXPECT_TRUE(doc.SetElementData(doc.CurrentElement(), "new"));
  EXPECT_EQ(doc.GetText(), "<r><b>new</b" + std::string(2000, ' ') + "></r>");
  EXPECT_INDEX_MATCHES_TEXT(doc);

  const std::string value(4200000, 'v');
  const std::string longStart = "<r><b x='" + value + "'></b></r>";
  CXmlDocument big(longStart.c_str());
  big.FindElement("r");
  big.EnterElement();
  big.FindElement("b");
  const int b = big.CurrentElement();
  EXPECT_EQ(big.GetAttribute(b, "x").size(), value.size());
  EXPECT_TRUE(big.SetElementData(b, "t"));
  EXPECT_TRUE(big.SetAttribute(b, "y", "1"));
  EXPECT_EQ(big.GetText().substr(big.GetText().size() - 17), "' y=\"1\">t</b></r>");
  EXPECT_INDEX_MATCHES_TEXT(big);
}

}  // namespace
