// Sizes and times as the send shows them.
#include <gtest/gtest.h>

#include <cmath>

#include "cli/AmountText.h"

namespace {

TEST(CountText, ThousandsSetApartByCommas) {
  const struct {
    uint64_t count;
    const char* text;
  } cases[] = {{0, "0"},
               {999, "999"},
               {1000, "1,000"},
               {41200, "41,200"},
               {100000, "100,000"},
               {1234567, "1,234,567"},
               {UINT64_MAX, "18,446,744,073,709,551,615"}};
  for (const auto& c : cases) EXPECT_EQ(CountText(c.count), c.text);
}

TEST(SizeText, BytesThenThousandsWithOneDecimal) {
  EXPECT_EQ(SizeText(0), "0 bytes");
  EXPECT_EQ(SizeText(1), "1 byte");
  EXPECT_EQ(SizeText(999), "999 bytes");
  EXPECT_EQ(SizeText(1000), "1.0 kB");
  EXPECT_EQ(SizeText(38400), "38.4 kB");
  EXPECT_EQ(SizeText(999949), "999.9 kB");
  // 999.95 kB would read 1000.0 kB: the next unit instead.
  EXPECT_EQ(SizeText(999950), "1.0 MB");
  EXPECT_EQ(SizeText(1234567), "1.2 MB");
  EXPECT_EQ(SizeText(52428800), "52.4 MB");
  EXPECT_EQ(SizeText(3000000000ull), "3.0 GB");
}

TEST(SizeOfText, ThePartInTheUnitOfTheWhole) {
  EXPECT_EQ(SizeOfText(16128, 38400), "16.1 of 38.4 kB");
  EXPECT_EQ(SizeOfText(512, 900), "512 of 900 bytes");
  EXPECT_EQ(SizeOfText(0, 1200000), "0.0 of 1.2 MB");
  EXPECT_EQ(SizeOfText(0, 0), "0 of 0 bytes");
}

TEST(ClockText, MinutesAndSecondsRoundedUpHoursWhenLong) {
  EXPECT_EQ(ClockText(0), "0:00");
  EXPECT_EQ(ClockText(5.2), "0:06");
  EXPECT_EQ(ClockText(6), "0:06");
  EXPECT_EQ(ClockText(59.5), "1:00");
  EXPECT_EQ(ClockText(720), "12:00");
  EXPECT_EQ(ClockText(3599), "59:59");
  EXPECT_EQ(ClockText(3723), "1:02:03");
  EXPECT_EQ(ClockText(359999), "99:59:59");
  EXPECT_EQ(ClockText(360000), "-:--");
  EXPECT_EQ(ClockText(-1), "-:--");
  EXPECT_EQ(ClockText(std::nan("")), "-:--");
}

TEST(AboutText, RoundFigures) {
  EXPECT_EQ(AboutText(0.2), "about 1 second");
  EXPECT_EQ(AboutText(18.04), "about 18 seconds");
  EXPECT_EQ(AboutText(89), "about 89 seconds");
  EXPECT_EQ(AboutText(90), "about 2 minutes");
  // 1.2 MB at 38400 baud: 1200000 * 10 / 38400 = 312.5 s.
  EXPECT_EQ(AboutText(312.5), "about 5 minutes");
  EXPECT_EQ(AboutText(5399), "about 90 minutes");
  EXPECT_EQ(AboutText(5400), "about 1.5 hours");
  EXPECT_EQ(AboutText(7200), "about 2 hours");
  // 50 MB at 9600 baud.
  EXPECT_EQ(AboutText(52428800.0 * 10 / 9600), "about 15.2 hours");
}

}  // namespace
