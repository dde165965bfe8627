#include <gtest/gtest.h>

#include <cstring>

#include "IndexDump.h"
#include "xml/XmlDocument.h"
#include "xml/XmlResult.h"
#include "xml/XmlScanner.h"

namespace {

struct Parsed {
  bool wellFormed;
  std::string log;
  std::string index;
};

Parsed Parse(const std::string& text, unsigned flags = 0) {
  CXmlDocument doc;
  doc.SetDocFlags(flags);
  const bool wellFormed = doc.SetDocument(text.c_str());
  return {wellFormed, doc.GetResultLog(), DumpIndex(doc)};
}

TEST(XmlScanner, EveryNodeKindWithItsOffsets) {
  const std::string text = "<?xml v='1'?><!DOCTYPE a [<!ENTITY x 'y>'>]><!--c--><a x='>'> t <![CDATA[<]]></a>\r\n";
  struct Expected {
    int kind, offset, length;
  };
  const Expected expected[] = {{XmlProcessingInstruction, 0, 13},
                               {XmlDocumentType, 13, 31},
                               {XmlComment, 44, 8},
                               {XmlStartTag, 52, 9},
                               {XmlText, 61, 3},
                               {XmlCdata, 64, 13},
                               {XmlEndTag, 77, 4},
                               {XmlWhitespace, 81, 2},
                               {XmlEndOfText, 83, 0}};
  int offset = 0;
  for (const Expected& e : expected) {
    const XmlNode node = ScanNode(text.data(), static_cast<int>(text.size()), offset, nullptr);
    EXPECT_EQ(node.kind, e.kind) << "at " << offset;
    EXPECT_EQ(node.offset, e.offset);
    EXPECT_EQ(node.length, e.length) << "at " << offset;
    offset += node.length;
  }
}

TEST(XmlScanner, EmptyElementSlashRules) {
  auto scan = [](const char* text) { return ScanNode(text, static_cast<int>(strlen(text)), 0, nullptr); };
  EXPECT_TRUE(scan("<a/>").empty);
  EXPECT_TRUE(scan("<a x=\"1\"/>").empty);
  EXPECT_TRUE(scan("<a x=1 />").empty);
  EXPECT_FALSE(scan("<a href=x/>").empty);  // the slash belongs to the unquoted value
  EXPECT_FALSE(scan("<a>").empty);
  const XmlNode quoted = scan("<a x='1>2'/>");
  EXPECT_TRUE(quoted.empty);
  EXPECT_EQ(quoted.length, 12);
}

TEST(XmlParser, UnendedElementEndsAtItsStartTag) {
  const Parsed p = Parse("<a><b></a>");
  EXPECT_FALSE(p.wellFormed);
  EXPECT_EQ(p.log, "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"7\"/>");
  EXPECT_EQ(p.index,
            "a@0+10 tags 3/4 level 0 flags 524288\n"
            "  b@3+3 tags 3/0 level 1 flags 1572864\n"
            "root length 10\n");
}

TEST(XmlParser, ChildrenOfAnUnendedElementMoveUpOneLevel) {
  const Parsed p = Parse("<r><a><b><x/></b></r>");
  EXPECT_EQ(p.log, "<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"18\"/>");
  EXPECT_EQ(p.index,
            "r@0+21 tags 3/4 level 0 flags 524288\n"
            "  a@3+3 tags 3/0 level 1 flags 1572864\n"
            "  b@6+11 tags 3/4 level 1 flags 0\n"
            "    x@9+4 tags 4/0 level 2 flags 524288\n"
            "root length 21\n");
}

TEST(XmlParser, ElementsLeftOpenAtTheEndAreClosedInnermostFirst) {
  const Parsed p = Parse("<a href=x/><b>");
  EXPECT_EQ(p.log,
            "<unended_start_tag tagname=\"b\" offset=\"11\" offset2=\"14\"/>"
            "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"14\"/>"
            "<root_has_sibling/>");
  EXPECT_EQ(p.index,
            "a@0+11 tags 11/0 level 0 flags 1572864\n"
            "b@11+3 tags 3/0 level 0 flags 1048576\n"
            "root length 14\n");
}

TEST(XmlParser, LoneEndTagIsIgnoredAndFlagged) {
  const Parsed p = Parse("<a></b></a>");
  EXPECT_FALSE(p.wellFormed);
  EXPECT_EQ(p.log, "<lone_end_tag tagname=\"b\" offset=\"3\"/>");
  EXPECT_EQ(p.index,
            "a@0+11 tags 3/4 level 0 flags 2621440\n"
            "root length 11\n");  // first child + error
}

TEST(XmlParser, ErrorFlagMovesToTheParentOfAnUnendedElement) {
  const Parsed p = Parse("<r><a><!x></r>");
  EXPECT_EQ(p.index,
            "r@0+14 tags 3/4 level 0 flags 2621440\n"
            "  a@3+3 tags 3/0 level 1 flags 1572864\n"
            "root length 14\n");
}

TEST(XmlParser, RootChecks) {
  EXPECT_EQ(Parse("<a/><b/>").log, "<root_has_sibling/>");
  EXPECT_FALSE(Parse("<a/><b/>").wellFormed);
  const Parsed empty = Parse("");
  EXPECT_FALSE(empty.wellFormed);
  EXPECT_EQ(empty.log, "");
  EXPECT_EQ(Parse("just text").log, "<no_root_element/>");
  EXPECT_TRUE(Parse("<?xml version=\"1.0\"?>\r\n<!-- c -->\r\n<a x='1>2'/>\r\n").wellFormed);
}

TEST(XmlParser, SyntaxEntriesWithTheirOffsets) {
  EXPECT_EQ(Parse("<!-x>").log, "<comment_tag_syntax offset=\"0\"/><no_root_element/>");
  EXPECT_EQ(Parse("<a>< b/></a>").log, "<first_tag_syntax offset=\"3\"/>");
  EXPECT_EQ(Parse("<a><!x></a>").log, "<exclamation_tag_syntax offset=\"3\"/>");
  EXPECT_EQ(Parse("<a><![X[y]]></a>").log, "<cdata_section_syntax offset=\"3\"/>");
  EXPECT_EQ(Parse("<!DOCTYPE a [<!X>]><a/>").log, "<doctype_tag_syntax offset=\"13\"/>");
  EXPECT_FALSE(Parse("<a>< b/></a>").wellFormed);
}

TEST(XmlParser, UnterminatedMarkupNamesItsKind) {
  EXPECT_EQ(Parse("<a><!-- x").log,
            "<unterminated_tag_syntax type=\"comment\" offset=\"3\"/>"
            "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"9\"/>");
  EXPECT_EQ(Parse("<a").log, "<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>");
  EXPECT_EQ(Parse("<a/></a").log, "<unterminated_tag_syntax type=\"end_tag\" offset=\"4\"/>");
  EXPECT_EQ(Parse("<a/><![CDATA[x").log, "<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>");
  EXPECT_EQ(Parse("<a/><?pi").log, "<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>");
  EXPECT_EQ(Parse("<!DOCTYPE a [<!-- x").log,
            "<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/><no_root_element/>");
  EXPECT_EQ(Parse("<a/><").log, "<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>");
}

TEST(XmlParser, DocumentTypeWithNestedMarkupAndQuotes) {
  const Parsed p = Parse("<!DOCTYPE a [<!ELEMENT a (#PCDATA)><!-- > --><!ENTITY x \"y>\">]><a/>");
  EXPECT_TRUE(p.wellFormed);
  EXPECT_EQ(p.log, "");
  EXPECT_EQ(p.index, "a@63+4 tags 4/0 level 0 flags 524288\nroot length 67\n");
}

TEST(XmlParser, EndTagsMatchWithoutCaseOnlyWhenAsked) {
  EXPECT_TRUE(Parse("<A></a>", DocFoldCase).wellFormed);
  EXPECT_EQ(Parse("<A></a>").log,
            "<lone_end_tag tagname=\"a\" offset=\"3\"/><unended_start_tag tagname=\"A\" offset=\"0\" offset2=\"7\"/>");
}

TEST(XmlParser, ResultLogStopsGrowingAtItsLimit) {
  std::string text = "<a>";
  for (int i = 0; i < 100; ++i) text += "</bb>";
  text += "</a>";
  const Parsed p = Parse(text);
  EXPECT_GE(p.log.size(), ResultLogLimit);
  EXPECT_LT(p.log.size(), ResultLogLimit + 50);
  EXPECT_EQ(p.log.find("<lone_end_tag tagname=\"bb\" offset=\"3\"/><lone_end_tag tagname=\"bb\" offset=\"8\"/>"), 0u);
}

TEST(XmlParser, NestingDeeperThanTheLevelFieldNeverSpillsIntoFlags) {
  const int depth = 70000;
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  CXmlDocument doc(text.c_str());
  EXPECT_TRUE(doc.IsWellFormed());
  const ElementRecord& deepest = doc.Record(depth);
  EXPECT_EQ(LevelOf(deepest), 0xFFFF);
  EXPECT_EQ(deepest.flags & ~ElementLevelMask, ElementFirstChild);
}

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// A damaged or hostile workspace at start-up: elements left open a hundred thousand deep
// must be repaired in one pass over the text, not one pass per element. Every "<a>" ends
// as an unended element at the level of the element that met its end tag.
TEST(XmlParser, HundredThousandElementsLeftOpenAreRepairedInOnePass) {
  const int n = 100000;
  struct Case {
    const char* name;
    std::string text;
    int firstA;  // record of the first "<a>"
    int parent;  // and its parent after the repair
    std::string logStart;
  };
  const Case cases[] = {
      {"never ended", Repeat("<a>", n), 1, 0,
       "<unended_start_tag tagname=\"a\" offset=\"299997\" offset2=\"300000\"/>"},
      {"ended by the outermost", "<r>" + Repeat("<a>", n) + "</r>", 2, 1,
       "<unended_start_tag tagname=\"a\" offset=\"300000\" offset2=\"300004\"/>"},
      {"lone end tags", Repeat("<a>", n) + Repeat("</b>", n), 1, 0,
       "<lone_end_tag tagname=\"b\" offset=\"300000\"/><lone_end_tag tagname=\"b\" offset=\"300004\"/>"},
  };
  for (const Case& c : cases) {
    CXmlDocument doc(c.text.c_str());
    EXPECT_FALSE(doc.IsWellFormed()) << c.name;
    EXPECT_EQ(doc.GetResultLog().compare(0, c.logStart.size(), c.logStart), 0) << c.name << ": " << doc.GetResultLog();
    ASSERT_EQ(doc.RecordCount(), c.firstA + n) << c.name;
    int wrong = 0, firstWrong = 0;
    for (int i = 0; i < n; ++i) {
      const int e = c.firstA + i;
      const ElementRecord& r = doc.Record(e);
      // The level field holds at most 65,535; an element created deeper starts there and
      // loses one level per unended parent, so past that depth it comes out at 0.
      const int level = c.parent && i < 0xFFFF ? 1 : 0;
      const uint32_t flags = ElementNoEndTag | (i == 0 ? ElementFirstChild : 0);
      const bool right = r.start == (c.firstA - 1 + i) * 3 && r.length == 3 && r.parent == c.parent &&
                         LevelOf(r) == level && (r.flags & ~ElementLevelMask) == flags && r.firstChild == 0 &&
                         r.next == (i + 1 < n ? e + 1 : 0) && r.previous == (i == 0 ? e + n - 1 : e - 1);
      if (!right && wrong++ == 0) firstWrong = e;
    }
    EXPECT_EQ(wrong, 0) << c.name << ": first wrong record " << firstWrong << ": " << DumpRecord(doc, firstWrong);
  }
}

TEST(XmlResult, EntriesAreWrittenAndUpdated) {
  std::string log;
  WriteResultEntry(log, "read", "UTF-8", ResultEncoding | ResultLength, 12);
  WriteResultEntry(log, "nulls_removed", nullptr, ResultCount, 3);
  WriteResultEntry(log, "file_error", "say \"no\"", ResultMessage | ResultNumber, 2);
  WriteResultEntry(log, "read", "UTF-16", ResultEncoding | ResultUpdate, -1);
  EXPECT_EQ(log,
            "<read encoding=\"UTF-16\" length=\"12\"/><nulls_removed count=\"3\"/>"
            "<file_error msg=\"say &quot;no&quot;\" n=\"2\"/>");
  WriteResultEntry(log, "bom", nullptr, ResultUpdate, -1);
  EXPECT_EQ(log.substr(log.size() - 6), "<bom/>");
}

}  // namespace
