#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "xml/XmlDocument.h"

namespace {

const char* const Sample =
    "<root>\r\n"
    " <item id=\"1\"/>\r\n"
    " <items/>\r\n"
    " <item id=\"2\"><sub/></item>\r\n"
    "</root>\r\n";

TEST(XmlNavigation, FindEnterLeave) {
  CXmlDocument doc(Sample);
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement("root"));
  const int root = doc.CurrentElement();
  EXPECT_FALSE(doc.FindElement("root"));  // no further sibling of that name
  EXPECT_EQ(doc.CurrentElement(), root);  // a failed find changes nothing
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_EQ(doc.ParentElement(), root);
  EXPECT_EQ(doc.CurrentElement(), 0);
  EXPECT_EQ(doc.GetNodeType(), NodeNone);

  ASSERT_TRUE(doc.FindElement("item"));
  const int first = doc.CurrentElement();
  EXPECT_EQ(doc.GetAttribute(first, "id"), "1");
  ASSERT_TRUE(doc.FindElement("item"));  // "items" is not "item"
  EXPECT_EQ(doc.GetAttribute(doc.CurrentElement(), "id"), "2");

  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.CurrentElement(), root);
  EXPECT_EQ(doc.ParentElement(), 0);
  ASSERT_TRUE(doc.EnterElement());  // back in, at the remembered child
  EXPECT_NE(doc.CurrentElement(), first);
  EXPECT_EQ(doc.ElementName(doc.CurrentElement()), "item");
}

TEST(XmlNavigation, EmptyNameFindsAnyElement) {
  CXmlDocument doc(Sample);
  doc.FindElement("root");
  doc.EnterElement();
  std::string names;
  while (doc.FindElement("")) names += doc.ElementName(doc.CurrentElement()) + " ";
  EXPECT_EQ(names, "item items item ");
  doc.ResetPosition();
  EXPECT_TRUE(doc.FindElement(nullptr));
}

TEST(XmlNavigation, RefusalsChangeNothing) {
  CXmlDocument doc(Sample);
  EXPECT_FALSE(doc.EnterElement());  // no current element
  EXPECT_FALSE(doc.LeaveElement());  // document level
  EXPECT_FALSE(doc.FindElement("/root"));
  EXPECT_FALSE(doc.FindElement("//root"));
  EXPECT_EQ(doc.CurrentElement(), 0);
  EXPECT_EQ(doc.ParentElement(), 0);
  CXmlDocument empty;
  EXPECT_FALSE(empty.FindElement(""));
}

TEST(XmlNavigation, PathFormIsCheckedAndBracketsIgnored) {
  for (const char* good : {"root[1]", "root[@id]", "root[@id='x']", "root[@id=\"x\"][2]"}) {
    CXmlDocument doc(Sample);
    EXPECT_TRUE(doc.FindElement(good)) << good;
  }
  for (const char* bad : {"root[", "root[x]", "root[@id=x]", "root]", "root[@]", "root[@id='x]"}) {
    CXmlDocument doc(Sample);
    EXPECT_FALSE(doc.FindElement(bad)) << bad;
  }
}

TEST(XmlNavigation, NamesFoldCaseOnlyWhenAsked) {
  CXmlDocument doc(Sample);
  EXPECT_FALSE(doc.FindElement("ROOT"));
  doc.SetDocFlags(DocFoldCase);
  EXPECT_TRUE(doc.FindElement("ROOT"));
  EXPECT_EQ(doc.GetAttribute(doc.CurrentElement(), "ID"), "");
  doc.EnterElement();
  doc.FindElement("Item");
  EXPECT_EQ(doc.GetAttribute(doc.CurrentElement(), "ID"), "1");
}

TEST(XmlNavigation, FindNodeVisitsTheNonElementNodes) {
  CXmlDocument doc("<r><?pi a='1'?><!--c-->text<![CDATA[x]]><e/>tail</r>");
  doc.FindElement("r");
  doc.EnterElement();
  ASSERT_TRUE(doc.FindNode(NodeProcessingInstruction));
  EXPECT_EQ(doc.NodeOffset(), 3);
  EXPECT_EQ(doc.NodeLength(), 12);
  EXPECT_EQ(doc.GetAttribute(doc.CurrentElement(), "a"), "1");
  ASSERT_TRUE(doc.FindNode(NodeText));
  EXPECT_EQ(doc.NodeOffset(), 23);
  EXPECT_EQ(doc.NodeLength(), 4);
  ASSERT_TRUE(doc.FindNode(NodeText));  // past the element
  EXPECT_EQ(doc.NodeOffset(), 44);
  EXPECT_EQ(doc.ElementName(doc.CurrentElement()), "e");
  EXPECT_FALSE(doc.FindNode(NodeComment));
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindNode(NodeElement));
  EXPECT_EQ(doc.ElementName(doc.CurrentElement()), "e");
}

}  // namespace

namespace {

// Each live element's record starts at the "<" of a start tag carrying its name.
void ExpectRecordsAtTheirTags(const CXmlDocument& doc, const std::vector<std::pair<int, std::string>>& names) {
  for (const auto& [element, name] : names) {
    const ElementRecord& r = doc.Record(element);
    ASSERT_LE(r.start + r.length, static_cast<int>(doc.GetText().size())) << name;
    EXPECT_EQ(doc.GetText().compare(r.start, name.size() + 1, "<" + name), 0) << name << " at " << r.start;
    EXPECT_EQ(doc.ElementName(element), name);
  }
}

}  // namespace

TEST(XmlNavigation, FindNodeStopsAtAnElementAddedAfterMalformedMarkup) {
  CXmlDocument doc("<r/> <e");
  ASSERT_TRUE(doc.AddElement("a", nullptr, 0));  // right after the unfinished "<e"
  const int a = doc.CurrentElement();
  EXPECT_EQ(doc.GetText(), "<r/> <e<a/>\r\n");
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindNode(NodeWhitespace));
  EXPECT_EQ(doc.NodeOffset(), 4);
  ASSERT_TRUE(doc.FindNode(NodeWhitespace));
  EXPECT_EQ(doc.NodeOffset(), 11);
  EXPECT_EQ(doc.CurrentElement(), a);  // passed over, so current
  ASSERT_TRUE(doc.AddElement("b", nullptr, AddBefore));
  const int b = doc.CurrentElement();
  ASSERT_TRUE(doc.SetAttribute(b, "t", "1"));
  EXPECT_EQ(doc.GetText(), "<r/> <e<a/><b t=\"1\"/>\r\n\r\n");
  ExpectRecordsAtTheirTags(doc, {{1, "r"}, {a, "a"}, {b, "b"}});
  EXPECT_EQ(doc.Record(a).next, b);
}

TEST(XmlNavigation, FindNodeOfAnElementAfterMalformedMarkup) {
  CXmlDocument doc("<r/> <e");
  doc.AddElement("a", nullptr, 0);
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindNode(NodeElement));
  ASSERT_TRUE(doc.FindNode(NodeElement));
  EXPECT_EQ(doc.ElementName(doc.CurrentElement()), "a");
  EXPECT_FALSE(doc.FindNode(NodeElement));
}

TEST(XmlNavigation, UnfinishedMarkupEndsAtTheNextElement) {
  // The comment opened before the added element is never closed: the "-->" inside the
  // element's CDATA section belongs to the element, not to the comment.
  CXmlDocument doc("<r/> <!--");
  ASSERT_TRUE(doc.AddElement("a", "-->", AddCdata));
  EXPECT_EQ(doc.GetText(), "<r/> <!--<a><![CDATA[-->]]></a>\r\n");
  doc.ResetPosition();
  EXPECT_FALSE(doc.FindNode(NodeComment));
  EXPECT_EQ(doc.CurrentElement(), 0);
  ASSERT_TRUE(doc.FindNode(NodeWhitespace));
  ASSERT_TRUE(doc.FindNode(NodeWhitespace));
  EXPECT_EQ(doc.ElementName(doc.CurrentElement()), "a");
}
