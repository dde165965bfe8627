#include <gtest/gtest.h>

#include "XmlDocument.h"

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
