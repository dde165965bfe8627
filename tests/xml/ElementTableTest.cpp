#include <gtest/gtest.h>

#include "xml/ElementTable.h"

namespace {

TEST(ElementTable, GrowsSegmentBySegmentAndKeepsRecords) {
  ElementTable table;
  table.Grow(10);
  EXPECT_EQ(table.Capacity(), 10);
  table[9].start = 99;
  // Reaching into the second segment fills out the first and starts the second.
  table.Grow(70000);
  EXPECT_EQ(table.Capacity(), 70000);
  EXPECT_EQ(table[9].start, 99);
  EXPECT_EQ(table[65535].start, 0);
  table[65536].next = 7;
  table[69999].previous = 5;
  // A request past the next segment is cut at that segment's end.
  table.Grow(200000);
  EXPECT_EQ(table.Capacity(), 3 * 65536);
  EXPECT_EQ(table[65536].next, 7);
  EXPECT_EQ(table[69999].previous, 5);
  EXPECT_EQ(table[196607].length, 0);
  table.Grow(100);  // never shrinks
  EXPECT_EQ(table.Capacity(), 3 * 65536);
}

TEST(ElementTable, TagLengthFieldsHoldTheirLimitsAndSaturateBeyond) {
  ElementRecord r{};
  r.tagLengths = PackTagLengths(4194303, 1023);
  EXPECT_EQ(StoredStartTagLength(r), 4194303);
  EXPECT_EQ(StoredEndTagLength(r), 1023);
  r.tagLengths = PackTagLengths(5000000, 2000);
  EXPECT_EQ(StoredStartTagLength(r), static_cast<int>(MaxStartTagLength));
  EXPECT_EQ(StoredEndTagLength(r), static_cast<int>(MaxEndTagLength));
  r.flags = ElementFirstChild;
  SetLevel(r, 70000);
  EXPECT_EQ(r.flags, ElementFirstChild | 0xFFFFu);
}

}  // namespace
