// The rate behind the time left: measured over the last seconds, not from the start.
#include <gtest/gtest.h>

#include "cli/TransferRate.h"

namespace {

TEST(TransferRate, UnknownUntilASecondIsMeasured) {
  CTransferRate rate;
  EXPECT_EQ(rate.BytesPerSecond(), 0);
  EXPECT_EQ(rate.SecondsLeft(1000), -1);
  rate.Add(0, 0);
  rate.Add(0.5, 400);
  EXPECT_EQ(rate.BytesPerSecond(), 0);
  EXPECT_EQ(rate.SecondsLeft(1000), -1);
  rate.Add(1.0, 500);
  EXPECT_DOUBLE_EQ(rate.BytesPerSecond(), 500);
  EXPECT_DOUBLE_EQ(rate.SecondsLeft(1000), 1);
  // All out: nothing left, whatever the rate.
  rate.Add(1.2, 1000);
  EXPECT_EQ(rate.SecondsLeft(1000), 0);
}

TEST(TransferRate, TheBurstThatFillsThePortsBufferFallsOutOfTheWindow) {
  CTransferRate rate(5.0);
  rate.Add(0, 0);
  // 4096 bytes vanish into the buffer at once, then the line takes 3840 a second.
  for (int k = 1; k <= 100; ++k) rate.Add(0.1 * k, 4096 + 384 * k);
  // From the start it would be (4096 + 38400) / 10 = 4249.6 bytes a second.
  EXPECT_NEAR(rate.BytesPerSecond(), 3840, 1);
  EXPECT_NEAR(rate.SecondsLeft(4096 + 38400 + 3 * 3840), 3, 0.01);
}

// As a send samples it: a piece of 40 bytes at a time, the first 4096 taken by the port's
// buffer within two milliseconds, then 3840 a second. Measured from the first piece, the
// first estimate was about twice the rate (the time left half of what it was); with a
// larger buffer, five times.
TEST(TransferRate, TheFirstBurstIsNotCountedInTheFirstEstimate) {
  CTransferRate rate;
  for (int k = 1; k <= 102; ++k) rate.Add(0.00002 * k, 40 * k);
  for (int k = 1; k <= 106; ++k) rate.Add(0.00204 + k / 96.0, 4080 + 40 * k);
  EXPECT_NEAR(rate.BytesPerSecond(), 3840, 1);
}

TEST(TransferRate, SamplesCloseTogetherStillCount) {
  CTransferRate rate;
  rate.Add(0, 0);
  rate.Add(1.0, 1000);
  // Pieces a few milliseconds apart, as a fast port takes them.
  for (int k = 1; k <= 1000; ++k) rate.Add(1.0 + 0.00008 * k, 1000 + k / 10);
  EXPECT_NEAR(rate.BytesPerSecond(), 1100 / 1.08, 1e-6);
}

TEST(TransferRate, AStalledLineSlowsTheEstimate) {
  CTransferRate rate(5.0);
  // Eighths of a second, exact in binary: 10000 bytes a second for five seconds.
  for (int k = 0; k <= 40; ++k) rate.Add(0.125 * k, 1250 * k);
  EXPECT_DOUBLE_EQ(rate.BytesPerSecond(), 10000);
  // The cutter holds the line back for three seconds: 20000 bytes in the last five.
  for (int k = 41; k <= 64; ++k) rate.Add(0.125 * k, 50000);
  EXPECT_DOUBLE_EQ(rate.BytesPerSecond(), 4000);
}

}  // namespace
