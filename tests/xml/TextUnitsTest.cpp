#include <gtest/gtest.h>

#include "xml/ByteOrderMark.h"
#include "xml/TextUnits.h"

namespace {

TEST(ByteOrderMark, FoundInTableOrder) {
  const ByteOrderMark* mark = FindByteOrderMark("\xEF\xBB\xBF<a/>", 7);
  ASSERT_NE(mark, nullptr);
  EXPECT_STREQ(mark->encoding, "UTF-8");
  EXPECT_EQ(mark->flag, 0x4u);
  EXPECT_EQ(mark->unitWidth, 1);
  mark = FindByteOrderMark("\xFE\xFF\x00<", 4);
  ASSERT_NE(mark, nullptr);
  EXPECT_STREQ(mark->encoding, "UTF-16BE");
  EXPECT_EQ(mark->flag, 0x80u);
  EXPECT_EQ(mark->unitWidth, 2);
  EXPECT_EQ(FindByteOrderMark("\xEF\xBB", 2), nullptr);
  EXPECT_EQ(FindByteOrderMark("<a/>", 4), nullptr);

  EXPECT_STREQ(ByteOrderMarkOfFlags(0x85)->encoding, "UTF-8");
  EXPECT_STREQ(ByteOrderMarkOfFlags(0x81 | 0x40)->encoding, "UTF-16LE");
  EXPECT_EQ(ByteOrderMarkOfFlags(0x10 | 0x20 | 0x40 | 8), nullptr);
}

TEST(TextUnits, ZeroUnitsRemovedAndCounted) {
  std::string bytes("a\0b\0\0", 5);
  EXPECT_EQ(RemoveZeroUnits(bytes), 3u);
  EXPECT_EQ(bytes, "ab");
  std::u16string units = {u'x', 0, u'y'};
  EXPECT_EQ(RemoveZeroUnits(units), 1u);
  EXPECT_EQ(units, u"xy");
}

TEST(TextUnits, LittleEndianBytesAndSwapping) {
  std::u16string units = UnitsFromLittleEndian("<\0\xE9\0\x01", 5);  // odd last byte forms no unit
  EXPECT_EQ(units, std::u16string({u'<', 0xE9}));
  SwapUnitBytes(units);
  EXPECT_EQ(units, std::u16string({0x3C00, 0xE900}));
  EXPECT_EQ(LittleEndianBytes(units), std::string("\0<\0\xE9", 4));
}

}  // namespace
