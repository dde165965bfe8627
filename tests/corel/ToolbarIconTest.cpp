#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "corel/ToolbarIcon.h"

namespace {

std::string DecodeBase64(const std::string& text) {
  static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const size_t v = alphabet.find(c);
    if (v == std::string::npos) continue;  // layout characters and padding
    bits = bits << 6 | static_cast<uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

uint32_t U32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 | static_cast<uint8_t>(s[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

TEST(ToolbarIcon, TextLayoutIsTwentySixLines) {
  const std::string& text = ToolbarIcon();
  EXPECT_EQ(text.size(), 2040u);
  const std::string separator = "\n \t\t\t\t\t\t";
  size_t start = 0;
  for (int line = 0; line < 26; ++line) {
    const size_t end = text.find(separator, start);
    const std::string body = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    EXPECT_EQ(body.size(), line < 25 ? 72u : 40u) << "line " << line;
    EXPECT_EQ(body.find_first_of(" \t\n"), std::string::npos);
    if (end == std::string::npos) {
      EXPECT_EQ(line, 25);
      break;
    }
    start = end + separator.size();
  }
  EXPECT_EQ(text.substr(text.size() - 2), "==");
}

TEST(ToolbarIcon, DecodesToTheBitmapContainer) {
  const std::string bytes = DecodeBase64(ToolbarIcon());
  ASSERT_EQ(bytes.size(), 1378u);
  EXPECT_EQ(bytes, ToolbarIconBytes());
  EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFF\x01\x00\x10\x00", 6));
  EXPECT_EQ(bytes.substr(6, 16), "WCmnUI_UIItemBmp");
  EXPECT_EQ(bytes.substr(22, 8), std::string(8, '\0'));
  EXPECT_EQ(U32(bytes, 30), 40u);
  EXPECT_EQ(U32(bytes, 34), 1024u);
  EXPECT_EQ(U32(bytes, 38), 256u);
  // BITMAPINFOHEADER at 42.
  EXPECT_EQ(U32(bytes, 42), 40u);
  EXPECT_EQ(U32(bytes, 46), 16u);
  EXPECT_EQ(U32(bytes, 50), 16u);
  EXPECT_EQ(bytes[54], 1);
  EXPECT_EQ(bytes[56], 8);
  EXPECT_EQ(U32(bytes, 58), 0u);
  EXPECT_EQ(U32(bytes, 62), 256u);
  EXPECT_EQ(U32(bytes, 74), 256u);
  EXPECT_EQ(U32(bytes, 78), 256u);
  EXPECT_EQ(bytes.substr(1362), std::string("\xF0\xF0\xF0\x00\xA0\xA0\xA0\x00\xF0\xF0\xF0\x00\x00\x00\x00\x00", 16));
  // Bottom row first: the cut line is the second row from the bottom.
  EXPECT_EQ(bytes.substr(1106 + 16, 16), std::string(16, '\x05'));
  EXPECT_EQ(bytes.substr(1106, 16), std::string(16, '\x00'));
}

}  // namespace
