#include <gtest/gtest.h>

#include <cstring>

#include "xml/XmlEntities.h"
#include "xml/XmlEscape.h"

namespace {

TEST(XmlEscape, TextAndAttributeModes) {
  EXPECT_EQ(EscapeText("a<b>&c \"'", 0), "a&lt;b&gt;&amp;c \"'");
  EXPECT_EQ(EscapeText("say \"it's\"", EscapeAttribute), "say &quot;it&apos;s&quot;");
  EXPECT_EQ(EscapeText("&amp; &x &#65; &; & a", EscapeKeepReferences), "&amp; &amp;x &#65; &amp;; &amp; a");
}

TEST(XmlEscape, CdataSectionSplitsItsTerminator) {
  EXPECT_EQ(CdataSection("a]]>b"), "<![CDATA[a]]]]><![CDATA[>b]]>");
  EXPECT_EQ(CdataSection(""), "<![CDATA[]]>");
}

TEST(XmlUnescape, ReferencesAndNames) {
  EXPECT_EQ(UnescapeText("&#x41;&#65;&#X41;", -1, 0), "AAA");
  EXPECT_EQ(UnescapeText("&lt;&amp;&gt;&quot;&apos;", -1, 0), "<&>\"'");
  EXPECT_EQ(UnescapeText("&permil;&thetasym;", -1, 0), "\xE2\x80\xB0\xCF\x91");
  EXPECT_EQ(UnescapeText("&#x1F600;", -1, 0), "\xF0\x9F\x98\x80");
  // Not references: kept as written.
  EXPECT_EQ(UnescapeText("&unknown;", -1, 0), "&unknown;");
  EXPECT_EQ(UnescapeText("&#0;", -1, 0), "&#0;");
  EXPECT_EQ(UnescapeText("&amp", -1, 0), "&amp");
  EXPECT_EQ(UnescapeText("&abcdefghi;", -1, 0), "&abcdefghi;");
  EXPECT_EQ(UnescapeText("&\xC3\xA9;", -1, 0), "&\xC3\xA9;");
  EXPECT_EQ(UnescapeText("&#x110000;", -1, 0), "&#x110000;");
  EXPECT_EQ(UnescapeText("a&amp;b", 3, 0), "a&a");
}

TEST(XmlUnescape, NamesMatchWithoutCaseKeepingSmallLetters) {
  // Capital and small E with acute; any spelling with a capital gives the capital letter.
  EXPECT_EQ(UnescapeText("&Eacute;&eacute;&EACUTE;", -1, 0), "\xC3\x89\xC3\xA9\xC3\x89");
  EXPECT_EQ(UnescapeText("&lArr;&larr;", -1, 0), "\xE2\x87\x90\xE2\x86\x90");
  EXPECT_EQ(UnescapeText("&AMP;&Amp;", -1, 0), "&&");
}

TEST(XmlUnescape, WhitespaceOptions) {
  const char* value = " \t a \r\n b  ";
  EXPECT_EQ(UnescapeText(value, -1, 0), value);
  EXPECT_EQ(UnescapeText(value, -1, 0x100), "a \r\n b");
  EXPECT_EQ(UnescapeText(value, -1, 0x200), "a b");
  EXPECT_EQ(UnescapeText("&#32; a &#32;", -1, 0x200), "  a  ");  // a reference ends a run
  EXPECT_EQ(UnescapeText("   ", -1, 0x300), "");
}

TEST(XmlEntities, TableHoldsEveryNameInItsBucket) {
  int names = 0;
  int emptyBuckets = 0;
  for (int b = 0; b < EntityBucketCount; ++b) {
    const char* entry = EntityBuckets[b];
    if (!*entry) ++emptyBuckets;
    while (*entry) {
      const int length = entry[0] - '0';
      ASSERT_GE(length, 2);
      unsigned sum = 0;
      for (int i = 0; i < length; ++i) sum += static_cast<unsigned char>(entry[5 + i]);
      EXPECT_EQ(static_cast<int>(sum % EntityBucketCount), b) << entry;
      const int code = atoi(std::string(entry + 1, 4).c_str());
      EXPECT_GE(code, 34);
      EXPECT_LE(code, 9830);
      EXPECT_EQ(EntityCodePoint(entry + 5, length) != 0, true);
      ++names;
      entry += 5 + length;
    }
  }
  EXPECT_EQ(names, 253);
  EXPECT_EQ(emptyBuckets, 37);
  EXPECT_NE(strstr(EntityBuckets[129], "68240permil"), nullptr);
  EXPECT_EQ(EntityCodePoint("apos", 4), 39);
  EXPECT_EQ(EntityCodePoint("nbsp", 4), 160);
  EXPECT_EQ(EntityCodePoint("diams", 5), 9830);
  EXPECT_EQ(EntityCodePoint("Yuml", 4), 376);
  EXPECT_EQ(EntityCodePoint("yuml", 4), 255);
}

}  // namespace
