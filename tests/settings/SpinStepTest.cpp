#include <gtest/gtest.h>

#include "settings/SpinStep.h"

namespace {

TEST(SpinStep, StepsInTenths) {
  EXPECT_EQ(SpinStep("0.38", 1), "0.5");
  EXPECT_EQ(SpinStep("0.38", -1), "0.3");
  EXPECT_EQ(SpinStep("0.85", 1), "0.9");
  EXPECT_EQ(SpinStep("2", 1), "2.1");
  EXPECT_EQ(SpinStep("1.5mm", -1), "1.4");  // the leading number counts
}

TEST(SpinStep, ZeroOrBelowLeavesTheText) {
  EXPECT_EQ(SpinStep("0.1", -1), "0.1");
  EXPECT_EQ(SpinStep("0.05", -1), "0.05");
  EXPECT_EQ(SpinStep("-3", 1), "-3");
  EXPECT_EQ(SpinStep("abc", -1), "abc");
}

TEST(SpinStep, NoNumberCountsAsZero) {
  EXPECT_EQ(SpinStep("abc", 1), "0.1");
  EXPECT_EQ(SpinStep("", 1), "0.1");
}

TEST(SpinStep, OnlyTheFirstNineCharactersAreRead) {
  EXPECT_EQ(SpinStep("0.1234567891", 1), "0.2");
  EXPECT_EQ(SpinStep("abcdefghijkl", -1), "abcdefghi");
  EXPECT_EQ(SpinStep("123456789999", 1), "123456789");  // 123456789.1 is too long: unchanged
  EXPECT_EQ(SpinStep("9999999.9", 1), "9999999.9");     // 10000000.0 needs 10 characters
  EXPECT_EQ(SpinStep("9999999.8", 1), "9999999.9");
}

}  // namespace
