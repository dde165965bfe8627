#include <gtest/gtest.h>

#include <string>

#include "xml/CharsetCodePage.h"
#include "xml/CodePage.h"

namespace {

int SignedByteSum(const std::string& name) {
  int sum = 0;
  for (char c : name) sum += static_cast<signed char>(c);
  return sum;
}

TEST(CharsetTable, Holds365NamesIn155BucketsWith17Empty) {
  int names = 0;
  int emptyBuckets = 0;
  for (int bucket = 0; bucket < CHARSET_BUCKETS; ++bucket) {
    const std::string entries = CharsetTable[bucket];
    if (entries.empty()) ++emptyBuckets;
    for (size_t at = 0; at < entries.size();) {
      ASSERT_LE(at + 7, entries.size());
      const size_t length = std::stoi(entries.substr(at, 2));
      const int codePage = std::stoi(entries.substr(at + 2, 5));
      const std::string name = entries.substr(at + 7, length);
      ASSERT_EQ(name.size(), length) << "bucket " << bucket;
      EXPECT_EQ(SignedByteSum(name) % CHARSET_BUCKETS, bucket) << name;
      EXPECT_EQ(CharsetCodePage(name.c_str()), codePage) << name;
      ++names;
      at += 7 + length;
    }
  }
  EXPECT_EQ(names, 365);
  EXPECT_EQ(emptyBuckets, 17);
}

TEST(CharsetCodePage, LooksUpNamesWithoutRegardToCase) {
  EXPECT_EQ(CharsetCodePage("Latin1"), 28591);
  EXPECT_EQ(CharsetCodePage("ISO-8859-1"), 28591);
  EXPECT_EQ(CharsetCodePage("UTF-8"), 65001);
  EXPECT_EQ(CharsetCodePage("Windows-1252"), 1252);
  EXPECT_EQ(CharsetCodePage("Shift_JIS"), 932);
  EXPECT_EQ(CharsetCodePage("cp1256 "), 1256);
  EXPECT_EQ(CharsetCodePage("x-unknown"), -1);
  EXPECT_EQ(CharsetCodePage("utf-8 "), -1);  // exact length: only cp1256 has a trailing space
}

TEST(CharsetCodePage, Utf32InItsExactCaseIsTheLibrarysOwn) {
  EXPECT_EQ(CharsetCodePage("UTF-32BE"), 65005);
  EXPECT_EQ(CharsetCodePage("UTF-32"), 65005);
  EXPECT_EQ(CharsetCodePage("UTF-32-anything"), 65005);
  EXPECT_EQ(CharsetCodePage("utf-32be"), 12001);
  EXPECT_EQ(CharsetCodePage("Utf-32"), 12000);
}

TEST(CharsetCodePage, EmptyLongAndForeignNames) {
  EXPECT_EQ(CharsetCodePage(""), 0);
  EXPECT_EQ(CharsetCodePage(nullptr), 0);
  EXPECT_EQ(CharsetCodePage(std::string(99, 'a').c_str()), -1);
  EXPECT_EQ(CharsetCodePage(std::string(100, 'a').c_str()), -1);
  EXPECT_EQ(CharsetCodePage(std::string(5000, 'a').c_str()), -1);
  // Bytes of 0x80 and above make the signed sum negative: no bucket, no match.
  EXPECT_EQ(CharsetCodePage("\xE9\xE9\xE9"), -1);
  EXPECT_EQ(CharsetCodePage("utf-8\xE9"), -1);
}

TEST(EncodingsDiffer, ComparesCodePages) {
  EXPECT_FALSE(EncodingsDiffer("UTF-8", "utf8"));
  EXPECT_FALSE(EncodingsDiffer("latin1", "ISO-8859-1"));
  EXPECT_TRUE(EncodingsDiffer("UTF-8", "ISO-8859-1"));
  EXPECT_TRUE(EncodingsDiffer("UTF-16LE", "UTF-16BE"));
  // An unknown name differs from nothing.
  EXPECT_FALSE(EncodingsDiffer("x-unknown", "ISO-8859-1"));
  EXPECT_FALSE(EncodingsDiffer("UTF-8", "x-unknown"));
}

TEST(EncodingsDiffer, EmptyNameIsTheAnsiCodePage) {
#ifndef _WIN32
  // Linux has no ANSI code page of its own: it is taken as 1252.
  EXPECT_EQ(AnsiCodePage(), 1252);
#endif
  EXPECT_EQ(EncodingsDiffer("", "windows-1252"), AnsiCodePage() != 1252);
  EXPECT_EQ(EncodingsDiffer("", "UTF-8"), AnsiCodePage() != 65001);
}

}  // namespace
