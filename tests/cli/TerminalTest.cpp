// The terminal's width: the system's answer first, then COLUMNS, then 80.
#include <gtest/gtest.h>

#include "cli/Terminal.h"

namespace {

TEST(ChooseColumns, SystemThenColumnsVariableThenEighty) {
  EXPECT_EQ(ChooseColumns(120, "40"), 120);
  EXPECT_EQ(ChooseColumns(0, "40"), 40);
  EXPECT_EQ(ChooseColumns(-1, "20"), 20);
  EXPECT_EQ(ChooseColumns(0, nullptr), 80);
  EXPECT_EQ(ChooseColumns(0, ""), 80);
  EXPECT_EQ(ChooseColumns(0, "abc"), 80);
  EXPECT_EQ(ChooseColumns(0, "40x"), 80);
  EXPECT_EQ(ChooseColumns(0, "0"), 80);
  EXPECT_EQ(ChooseColumns(0, "-5"), 80);
  EXPECT_EQ(ChooseColumns(0, "99999999999999999999"), 80);
}

}  // namespace
