#include <gtest/gtest.h>

#include <string>

#include "xml/Utf8.h"

namespace {

bool Valid(const std::string& bytes) { return IsUtf8(bytes.data(), bytes.size()); }

TEST(IsUtf8, AcceptsWellFormedText) {
  EXPECT_TRUE(Valid(""));
  EXPECT_TRUE(Valid("<a>plain</a>"));
  EXPECT_TRUE(Valid("caf\xC3\xA9"));
  EXPECT_TRUE(Valid("\xE2\x82\xAC"));
  EXPECT_TRUE(Valid("\xF0\x9F\x98\x80"));
}

TEST(IsUtf8, LengthComesFromBitsFiveFourAndThreeOfAnyHighByte) {
  // 0x80-0x9F lead two bytes, 0xA0-0xAF three, 0xB0-0xB7 four: continuation bytes pass as leads.
  EXPECT_TRUE(Valid("\x80\x80"));
  EXPECT_TRUE(Valid("\xA0\x80\x80"));
  EXPECT_TRUE(Valid("\xB7\x80\x80\x80"));
  EXPECT_FALSE(Valid("\xB8\x80\x80\x80"));
  EXPECT_FALSE(Valid("\xF8\x80\x80\x80\x80"));
  EXPECT_FALSE(Valid("\xFF"));
  // Following bytes need only be 0x80 or above; overlong forms pass.
  EXPECT_TRUE(Valid("\xC3\xFF"));
  EXPECT_TRUE(Valid("\xC0\x80"));
}

TEST(IsUtf8, SequenceCutShortIsInvalid) {
  EXPECT_FALSE(Valid("\xE9 "));  // Latin-1 e-acute before a space
  EXPECT_FALSE(Valid("caf\xE9"));
  EXPECT_FALSE(Valid("\xF0\x9F\x98"));
  EXPECT_FALSE(Valid("\xC3"));
}

TEST(DecodeUtf8, GivesCodePointAndSpan) {
  const auto decode = [](const std::string& s) {
    return DecodeUtf8(reinterpret_cast<const unsigned char*>(s.data()), s.size());
  };
  Utf8Char c = decode("\xE2\x82\xAC!");
  EXPECT_TRUE(c.valid);
  EXPECT_EQ(c.length, 3u);
  EXPECT_EQ(c.codePoint, 0x20ACu);
  c = decode("\xF0\x9F\x98\x80");
  EXPECT_EQ(c.codePoint, 0x1F600u);
  // An invalid sequence spans the high bytes before the byte that cut it short.
  c = decode("\xE2\x82!");
  EXPECT_FALSE(c.valid);
  EXPECT_EQ(c.length, 2u);
}

TEST(AppendUtf8, WritesOneToFourBytes) {
  std::string out;
  for (char32_t c : {U'A', U'\u00E9', U'\u20AC', U'\U0001F600'}) AppendUtf8(out, c);
  EXPECT_EQ(out, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

}  // namespace
