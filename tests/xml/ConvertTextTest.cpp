#include <gtest/gtest.h>

#include <string>

#include "xml/ConvertText.h"

namespace {

// Converts 8-bit `text` into an 8-bit encoding, measuring first as callers do.
std::string Bytes(const char* from, const std::string& text, const char* to, bool* lost = nullptr) {
  const int units = static_cast<int>(text.size());
  const int needed = ConvertText(from, text.data(), units, to, nullptr, 0, nullptr);
  if (needed < 0) return "<failed>";
  std::string out(needed, '\0');
  EXPECT_EQ(ConvertText(from, text.data(), units, to, &out[0], needed, lost), needed);
  return out;
}

TEST(ConvertText, Utf32ToUtf8WithOwnEncoder) {
  const char32_t text[] = {U'A', 0xE9, 0x20AC, 0x1F600};
  char out[16];
  EXPECT_EQ(ConvertText("UTF-32", text, 4, "UTF-8", nullptr, 0, nullptr), 10);
  ASSERT_EQ(ConvertText("UTF-32", text, 4, "UTF-8", out, sizeof out, nullptr), 10);
  EXPECT_EQ(std::string(out, 10), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(ConvertText, Utf32AndUtf16MeetThroughSurrogatePairs) {
  const char32_t wide[] = {U'A', 0x1F600};
  char16_t units[4] = {};
  ASSERT_EQ(ConvertText("UTF-32", wide, 2, "UTF-16", units, 4, nullptr), 3);
  EXPECT_EQ(units[0], u'A');
  EXPECT_EQ(units[1], 0xD83D);
  EXPECT_EQ(units[2], 0xDE00);

  char32_t back[4] = {};
  bool lost = true;
  ASSERT_EQ(ConvertText("UTF-16", units, 3, "UTF-32", back, 4, &lost), 2);
  EXPECT_EQ(back[0], U'A');
  EXPECT_EQ(back[1], 0x1F600u);
  EXPECT_FALSE(lost);
}

TEST(ConvertText, SurrogateWithoutPartnerBecomesQuestionMark) {
  const char16_t units[] = {0xD800, u'A', 0xDC00};
  char32_t out[4] = {};
  bool lost = false;
  ASSERT_EQ(ConvertText("UTF-16", units, 3, "UTF-32", out, 4, &lost), 3);
  EXPECT_EQ(out[0], U'?');
  EXPECT_EQ(out[1], U'A');
  EXPECT_EQ(out[2], U'?');
  EXPECT_TRUE(lost);
}

TEST(ConvertText, Utf8ToUtf32WithOwnDecoder) {
  const std::string text = "A\xC3\xA9\xF8!\xE2\x82";
  char32_t out[8] = {};
  bool lost = false;
  ASSERT_EQ(ConvertText("UTF-8", text.data(), static_cast<int>(text.size()), "UTF-32", out, 8, &lost), 5);
  EXPECT_EQ(out[0], U'A');
  EXPECT_EQ(out[1], 0xE9u);
  EXPECT_EQ(out[2], U'?');  // 0xF8 starts no sequence
  EXPECT_EQ(out[3], U'!');
  EXPECT_EQ(out[4], U'?');  // cut short by the end
  EXPECT_TRUE(lost);
}

TEST(ConvertText, CodePagesThroughThePlatform) {
  EXPECT_EQ(Bytes("ISO-8859-1", "caf\xE9", "UTF-8"), "caf\xC3\xA9");
  EXPECT_EQ(Bytes("UTF-8", "caf\xC3\xA9", "ISO-8859-1"), "caf\xE9");
  EXPECT_EQ(Bytes("koi8-r", "\xC1", "UTF-8"), "\xD0\xB0");  // Cyrillic small a
  EXPECT_EQ(Bytes("UTF-8", "\xE2\x82\xAC", "windows-1252"), "\x80");

  const std::string euro = "\xE2\x82\xAC";
  char16_t units[2] = {};
  ASSERT_EQ(ConvertText("UTF-8", euro.data(), 3, "UTF-16", units, 2, nullptr), 1);
  EXPECT_EQ(units[0], 0x20AC);
  char bytes[4] = {};
  ASSERT_EQ(ConvertText("UTF-16", units, 1, "UTF-8", bytes, 4, nullptr), 3);
  EXPECT_EQ(std::string(bytes, 3), euro);
}

TEST(ConvertText, ReportsCharactersACodePageCannotHold) {
  bool lost = false;
  EXPECT_EQ(Bytes("UTF-8", "a\xE4\xB8\xAD", "ISO-8859-1", &lost), "a?");
  EXPECT_TRUE(lost);
  EXPECT_EQ(Bytes("UTF-8", "abc", "ISO-8859-1", &lost), "abc");
  EXPECT_FALSE(lost);
}

TEST(ConvertText, NoLossReportedForUtf8Target) {
  // A lone surrogate becomes U+FFFD in UTF-8, and UTF-8 cannot report replacements.
  const char16_t units[] = {u'a', 0xD800, u'b'};
  char out[8] = {};
  bool lost = true;
  ASSERT_EQ(ConvertText("UTF-16", units, 3, "UTF-8", out, sizeof out, &lost), 5);
  EXPECT_EQ(std::string(out, 5),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_FALSE(lost);
}

TEST(ConvertText, UnknownNamesAreTheAnsiCodePage) {
  // The ANSI code page is 1252 on Linux and under an English Windows (Wine's default).
  EXPECT_EQ(Bytes("x-unknown", "\xE9", "UTF-8"), "\xC3\xA9");
  EXPECT_EQ(Bytes("", "\xE9", "UTF-8"), "\xC3\xA9");
  EXPECT_EQ(Bytes("UTF-8", "\xC3\xA9", ""), "\xE9");
}

TEST(ConvertText, RefusesTooLittleRoom) {
  char out[2];
  EXPECT_EQ(ConvertText("UTF-8", "abc", 3, "UTF-8", out, 2, nullptr), -1);
  EXPECT_EQ(ConvertText("UTF-8", "", 0, "ISO-8859-1", nullptr, 0, nullptr), 0);
}

TEST(ConvertText, CodePageThePlatformLacksFails) {
  // 720 (Arabic DOS) is in the name table; iconv has no table for it.
#ifndef _WIN32
  EXPECT_EQ(Bytes("dos-720", "abc", "UTF-8"), "<failed>");
  EXPECT_EQ(Bytes("UTF-8", "abc", "dos-720"), "<failed>");
#endif
  // 12000 (lower-case "utf-32") is left to the platform: iconv converts it, Windows'
  // code-page functions refuse it.
#ifdef _WIN32
  EXPECT_EQ(Bytes("UTF-8", "abc", "utf-32"), "<failed>");
#else
  EXPECT_EQ(Bytes("UTF-8", "ab", "utf-32"), std::string("a\0\0\0b\0\0\0", 8));
#endif
}

}  // namespace
